// The input rules of the entry editor's fields: the key filters of the number
// boxes and of the parking codes, and the focus guards that send the user back
// to the grid while there is nothing to edit.
#include "mainwindow/frm_Main.h"

#include "editing/InputRules.h"
#include "mainwindow/widgets/ControlEvents.h"
#include "mainwindow/widgets/ListView.h"
#include "mainwindow/widgets/VbColors.h"
#include "shared/MessageBox.h"

#include <QCheckBox>
#include <QLineEdit>

namespace {

// The locale's decimal separator as the start-up stored it.
QChar decimalOf(const QString& sDecimalSep)
{
    return sDecimalSep.isEmpty() ? QChar(u'.') : sDecimalSep.front();
}

void applyNumeric(int& KeyAscii, const QLineEdit* box, const QString& sDecimalSep, bool allowMinus)
{
    KeyAscii = InputRules::numericKey(static_cast<char16_t>(KeyAscii), box->text(), decimalOf(sDecimalSep),
                                      allowMinus);
}

} // namespace

void frm_Main::txt_Exit_0_KeyPress(int index, int& KeyAscii)
{
    applyNumeric(KeyAscii, ui.txt_Exit_0.at(index), sDecimalSep, true);
}

void frm_Main::txt_Exit_1_KeyPress(int index, int& KeyAscii)
{
    applyNumeric(KeyAscii, ui.txt_Exit_1.at(index), sDecimalSep, true);
}

void frm_Main::txt_Exit_2_KeyPress(int index, int& KeyAscii)
{
    applyNumeric(KeyAscii, ui.txt_Exit_2.at(index), sDecimalSep, true);
}

void frm_Main::txt_FS9Radius_KeyPress(int& KeyAscii)
{
    applyNumeric(KeyAscii, ui.txt_FS9Radius, sDecimalSep, false);
}

void frm_Main::txt_WingSpan_New_KeyPress(int& KeyAscii)
{
    applyNumeric(KeyAscii, ui.txt_WingSpan_New, sDecimalSep, false);
}

void frm_Main::txt_atc_ParkingCodes_KeyPress(int& KeyAscii)
{
    const InputRules::ParkingKey r =
        InputRules::parkingCodeKey(static_cast<char16_t>(KeyAscii), ui.txt_atc_ParkingCodes->text());
    KeyAscii = r.key;
    // A pasted text shows its first refusal only.
    if (r.message != InputRules::ParkingMessage::None && (!m_controlEvents || m_controlEvents->firstNotice()))
        msgbox::MsgBox(InputRules::parkingMessageText(r.message), msgbox::vbOKOnly | msgbox::vbInformation);
}

void frm_Main::GotFocus_NeedsEntry()
{
    // An entry is shown while the title field is white; the guarded field's
    // own colour does not count.
    if (backColor(ui.txt_Title) != vbColor(vbcolor::White))
        ui.ListView1->setFocus(Qt::OtherFocusReason);
}

void frm_Main::GotFocus_NeedsRows()
{
    if (ui.ListView1->rowCount() == 0)
        ui.ListView1->setFocus(Qt::OtherFocusReason);
}

void frm_Main::GotFocus_ToGrid()
{
    ui.ListView1->setFocus(Qt::OtherFocusReason);
}

void frm_Main::wireInputRules()
{
    auto* events = new ControlEvents(this);
    m_controlEvents = events;

    const QList<QLineEdit*>* exits[] = {&ui.txt_Exit_0, &ui.txt_Exit_1, &ui.txt_Exit_2};
    using ExitKeyPress = void (frm_Main::*)(int, int&);
    const ExitKeyPress exitKeys[] = {&frm_Main::txt_Exit_0_KeyPress, &frm_Main::txt_Exit_1_KeyPress,
                                     &frm_Main::txt_Exit_2_KeyPress};
    for (int e = 0; e < 3; ++e) {
        for (int b = 0; b < exits[e]->size(); ++b) {
            QLineEdit* box = exits[e]->at(b);
            const ExitKeyPress handler = exitKeys[e];
            events->onKeyPress(box, [this, handler, b](int& key) { (this->*handler)(b, key); });
            events->onGotFocus(box, [this] { GotFocus_NeedsRows(); });
        }
    }
    events->onKeyPress(ui.txt_FS9Radius, [this](int& key) { txt_FS9Radius_KeyPress(key); });
    events->onKeyPress(ui.txt_WingSpan_New, [this](int& key) { txt_WingSpan_New_KeyPress(key); });
    events->onKeyPress(ui.txt_atc_ParkingCodes, [this](int& key) { txt_atc_ParkingCodes_KeyPress(key); });

    for (QWidget* field : std::initializer_list<QWidget*>{
             ui.txt_Title, ui.txt_ui_CreatedBy, ui.txt_ui_TypeRole, ui.txt_ui_Manufacturer, ui.txt_ui_Type,
             ui.txt_ui_Variation, ui.txt_atc_Id, ui.txt_atc_Flight_Number, ui.txt_atc_Airline,
             ui.txt_atc_Model, ui.txt_atc_ParkingCodes, ui.txt_FS9Radius})
        events->onGotFocus(field, [this] { GotFocus_NeedsEntry(); });
    for (QWidget* field : {ui.txt_general_atc_model, ui.txt_general_atc_type})
        events->onGotFocus(field, [this] { GotFocus_NeedsRows(); });
    for (QWidget* tick : {ui.chk_Exit_0, ui.chk_Exit_1, ui.chk_Exit_2})
        events->onGotFocus(tick, [this] { GotFocus_ToGrid(); });

    for (int i = 0; i < ui.txt_effects.size(); ++i) {
        QLineEdit* box = ui.txt_effects[i];
        events->onGotFocus(box, [this, i] { txt_effects_GotFocus(i); });
        events->onMouseDown(
            box, [this, i](Qt::MouseButton button, QPoint pos) { txt_effects_MouseDown(i, button, pos); });
        // The right button opens the effects menu instead of the field's own.
        events->suppressMouseContextMenu(box);
    }
}
