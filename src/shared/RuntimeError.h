#pragma once

#include <QByteArray>
#include <QString>

#include <exception>
#include <functional>
#include <source_location>

// Unexpected errors inside the main window's handlers: the handler stops, what
// it already wrote stays, and the user sees the runtime-error box naming the
// error and the procedure.
namespace runtimeerror {

// Classic runtime error numbers the program raises.
enum Number : int
{
    kInvalidCall = 5,
    kOverflow = 6,
    kOutOfMemory = 7,
    kSubscriptOutOfRange = 9,
    kTypeMismatch = 13,
    kFileNotFound = 53,
    kPermissionDenied = 70,
    kPathFileAccess = 75,
    kPathNotFound = 76,
};

// The standard description of an error number ("Type mismatch"); a generic
// text for numbers without one.
QString standardDescription(int number);

// An error with a number, a description and the source line that raised it.
class RuntimeError : public std::exception
{
public:
    RuntimeError(int number, QString description,
                 std::source_location where = std::source_location::current());
    // With the standard description of the number.
    explicit RuntimeError(int number, std::source_location where = std::source_location::current());

    int number() const { return m_number; }
    const QString& description() const { return m_description; }
    int line() const { return m_line; }
    const char* what() const noexcept override { return m_what.constData(); }

private:
    int m_number;
    QString m_description;
    int m_line;
    QByteArray m_what;
};

// The text of the runtime-error box, its lines joined by CR LF.
QString boxText(int number, const QString& description, const QString& procedure, int line);

// Shows the runtime-error box (OK only, no icon, the program's title).
void showBox(int number, const QString& description, const QString& procedure, int line);

// Runs a handler's body; a RuntimeError or any std::exception escaping it ends
// the body and is shown in the runtime-error box naming `procedure`. Returns
// whether the body ran to its end.
bool runHandler(const QString& procedure, const std::function<void()>& body);

} // namespace runtimeerror
