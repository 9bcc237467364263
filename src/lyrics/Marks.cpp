#include "lyrics/Marks.h"

namespace versilla::lyrics {

char protectedCharFor(char typed, std::string_view focusControl, bool tab2Active,
                      bool manualAssignmentRunning)
{
    if (!tab2Active || manualAssignmentRunning)
        return typed;
    if (typed == '-' && focusControl != "s2_schiebenzeit")
        return kProtectedHyphen;
    if (typed == ' ')
        return kProtectedSpace;
    return typed;
}

} // namespace versilla::lyrics
