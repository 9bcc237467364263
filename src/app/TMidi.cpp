#include "app/TMidi.h"

namespace versilla::app {

TMidi::~TMidi() {
    ShutdownPlayback();
}

void TMidi::MidiEvent(const core::TMidiEvent& /*event*/) {}

} // namespace versilla::app
