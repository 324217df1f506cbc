#include "skin/data/SkinColour.h"

#include "base/StrUtils.h"

#include <string>

int32_t ParseColour(std::string_view Text) {
    const std::string text = Trim(Text);
    uint32_t channels[3] = {0, 0, 0};
    int finished = 0;
    bool inRun = false;
    uint32_t run = 0;  // kept modulo 256 as it grows, so any length of digits is safe
    for (char c : text) {
        if (c >= '0' && c <= '9') {
            run = (run * 10 + static_cast<uint32_t>(c - '0')) & 0xFF;
            inRun = true;
        } else if (inRun) {
            // A fourth finished number has nowhere to go and is ignored.
            if (finished < 3) channels[finished] = run;
            ++finished;
            inRun = false;
            run = 0;
        }
    }
    if (inRun && finished == 2) channels[2] = run;
    return static_cast<int32_t>(channels[0] | channels[1] << 8 | channels[2] << 16);
}

int32_t ReadColour(std::string_view Text, int32_t Default) { return Text.empty() ? Default : ParseColour(Text); }
