#pragma once
// The one message that skin loading shows the user (an outdated skin file). On Windows it is a modal
// message box; the host build, tools and tests point SkinShowMessage elsewhere.
#include <string>

using TSkinMessageProc = void (*)(const std::string& text);

// Never null; replace it to capture or silence the message.
extern TSkinMessageProc SkinShowMessage;
