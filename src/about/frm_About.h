#pragma once

#include <QWidget>

class QFrame;
class QLabel;

// The About window: product name, version, the Windows the host declares, the
// maker's notice and the logo. Not modal; a click anywhere on it or any key
// closes it. Each showing reads the Windows information afresh.
class frm_About : public QWidget
{
    Q_OBJECT

public:
    explicit frm_About(QWidget* parent = nullptr);

    QLabel* lblProductName = nullptr;
    QLabel* lblVERSION = nullptr;
    QLabel* lblPlatform = nullptr;
    QLabel* lblCopyright = nullptr;
    QLabel* imgLogo = nullptr;
    QFrame* Frame1 = nullptr;

    // Fills the version and Windows lines.
    void Form_Load();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
};
