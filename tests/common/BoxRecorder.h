#pragma once

#include "shared/MessageBox.h"

// Answers every box with its first button (text boxes and file dialogs as
// cancelled) and keeps what was asked, so a window test can assert which
// boxes came instead of stopping at the first one it did not expect.
namespace testutil {

class BoxRecorder : public msgbox::ScriptedAnswers
{
public:
    BoxRecorder()
    {
        setResponder([](const msgbox::Call& call) {
            if (call.kind == msgbox::Kind::MsgBox)
                return msgbox::Answer::withButton(msgbox::buttonsOf(call.style).first());
            if (call.kind == msgbox::Kind::MsgBoxEx)
                return msgbox::Answer::withButton(msgbox::vbCancel);
            return msgbox::Answer::withText(QString());
        });
    }
};

} // namespace testutil
