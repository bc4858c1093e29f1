// The smallest Qt Widgets program: one window of the main window's size,
// shown, and ended once it has painted. bench_user starts it the way it starts
// the program itself and compares their start-up times.
#include <QApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>

namespace {

class FirstPaint : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && !m_seen) {
            m_seen = true;
            QTimer::singleShot(0, qApp, [] { QCoreApplication::exit(0); });
        }
        return QObject::eventFilter(watched, event);
    }

private:
    bool m_seen = false;
};

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QWidget window;
    window.resize(1100, 760);
    FirstPaint filter;
    window.installEventFilter(&filter);
    window.show();
    return QApplication::exec();
}
