#include "about/frm_Update.h"

#include "about/ProgramIcon.h"
#include "about/vcUPDATECTL.h"
#include "shared/AppInfo.h"

#include <QVBoxLayout>

#include <vector>

namespace {
// Living stand-ins, oldest first; they may end in any order.
std::vector<frm_Update::ScriptedShow*>& scripted()
{
    static std::vector<frm_Update::ScriptedShow*> list;
    return list;
}
} // namespace

frm_Update::ScriptedShow::ScriptedShow(std::function<void(frm_Update&)> drive) : m_drive(std::move(drive))
{
    scripted().push_back(this);
}

frm_Update::ScriptedShow::~ScriptedShow()
{
    std::erase(scripted(), this);
}

frm_Update::frm_Update(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frm_Update"));
    setWindowTitle(QStringLiteral("Brackenhold Live Update"));
    setWindowIcon(programicon::icon());
    setModal(true);
    vcUPDATECTL1 = new vcUPDATECTL(this);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(vcUPDATECTL1);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    m_properties.insert(QStringLiteral("ConfigFileURL"), appinfo::versionFileUrl());

    connect(vcUPDATECTL1, &vcUPDATECTL::Finish, this, &frm_Update::vcUPDATECTL1_Finish);
    // However the window closes (a button, Escape, the close box), a running
    // download ends with it.
    connect(this, &QDialog::finished, vcUPDATECTL1, &vcUPDATECTL::cancelDownload);
}

frm_Update::~frm_Update() = default;

void frm_Update::setStoredProperty(const QString& key, const QVariant& value)
{
    m_properties.insert(key, value);
}

void frm_Update::Form_Load()
{
    vcUPDATECTL1->UserControl_ReadProperties(m_properties);
}

int frm_Update::showModal()
{
    if (!scripted().empty()) {
        ScriptedShow* stand = scripted().back();
        ++stand->m_shows;
        if (stand->m_drive)
            stand->m_drive(*this);
        return result();
    }
    Form_Load();
    return exec();
}

void frm_Update::vcUPDATECTL1_Finish(const QString&)
{
    done(QDialog::Accepted);
}
