#pragma once

namespace qmr {

struct Point {
    int x;
    int y;
};

// Where a dialog goes over the main window: centred across its client area
// and a quarter of the free height down. Integer division truncates toward
// zero, also for a dialog larger than the client area.
constexpr Point PlaceDialog(Point clientOrigin, int clientWidth, int clientHeight, int formWidth, int formHeight) {
    return {clientOrigin.x + (clientWidth - formWidth) / 2, clientOrigin.y + (clientHeight - formHeight) / 4};
}

}  // namespace qmr
