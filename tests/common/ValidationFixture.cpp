#include "ValidationFixture.h"

#include "mainwindow/frm_TextEditor.h"
#include "shared/Globals.h"

namespace testutil {

QStringList flagListWith(std::initializer_list<int> on)
{
    QStringList f(23, "0");
    for (int i : on)
        f[i] = "1";
    return f;
}

QString flagsWith(std::initializer_list<int> on)
{
    return flagListWith(on).join(QChar(0xA6));
}

void closeReportWindows()
{
    if (frm_TextEditor* e = frm_TextEditor::existing()) {
        e->bChanged = false;
        delete e;
    }
    globals::gbBatchValidate = false;
}

} // namespace testutil
