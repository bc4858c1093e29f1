#include "shared/RuntimeError.h"

#include "shared/MessageBox.h"

#include <QStringList>

#include <new>
#include <stdexcept>
#include <utility>

namespace runtimeerror {

QString standardDescription(int number)
{
    static constexpr std::pair<int, const char*> kDescriptions[] = {
        {kInvalidCall, "Invalid procedure call or argument"},
        {kOverflow, "Overflow"},
        {kOutOfMemory, "Out of memory"},
        {kSubscriptOutOfRange, "Subscript out of range"},
        {kTypeMismatch, "Type mismatch"},
        {kFileNotFound, "File not found"},
        {kPermissionDenied, "Permission denied"},
        {kPathFileAccess, "Path/File access error"},
        {kPathNotFound, "Path not found"},
    };
    for (const auto& [n, text] : kDescriptions) {
        if (n == number)
            return QString::fromLatin1(text);
    }
    return QStringLiteral("Application-defined or object-defined error");
}

RuntimeError::RuntimeError(int number, QString description, std::source_location where)
    : m_number(number), m_description(std::move(description)), m_line(static_cast<int>(where.line())),
      m_what(m_description.toUtf8())
{
}

RuntimeError::RuntimeError(int number, std::source_location where)
    : RuntimeError(number, standardDescription(number), where)
{
}

QString boxText(int number, const QString& description, const QString& procedure, int line)
{
    return QStringList{QStringLiteral("A runtime error has occured"),
                       QString(),
                       QStringLiteral("Error number: ") + QString::number(number),
                       QStringLiteral("Error description: ") + description,
                       QStringLiteral("Procedure ") + procedure,
                       QStringLiteral("Line: ") + QString::number(line),
                       QStringLiteral("Formular frm_Main")}
        .join(msgbox::vbCrLf);
}

void showBox(int number, const QString& description, const QString& procedure, int line)
{
    msgbox::MsgBox(boxText(number, description, procedure, line), msgbox::vbOKOnly, msgbox::programTitle());
}

bool runHandler(const QString& procedure, const std::function<void()>& body)
{
    // Standard exceptions carry no line; like an error raised on a statement
    // without a line number, they report line 0.
    try {
        body();
        return true;
    } catch (const RuntimeError& e) {
        showBox(e.number(), e.description(), procedure, e.line());
    } catch (const std::bad_alloc&) {
        showBox(kOutOfMemory, standardDescription(kOutOfMemory), procedure, 0);
    } catch (const std::out_of_range& e) {
        showBox(kSubscriptOutOfRange, QString::fromUtf8(e.what()), procedure, 0);
    } catch (const std::overflow_error& e) {
        showBox(kOverflow, QString::fromUtf8(e.what()), procedure, 0);
    } catch (const std::exception& e) {
        showBox(kInvalidCall, QString::fromUtf8(e.what()), procedure, 0);
    }
    return false;
}

} // namespace runtimeerror
