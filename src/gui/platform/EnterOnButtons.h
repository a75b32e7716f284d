#pragma once

namespace paysum {

// Makes Enter on a focused push button click it, as Space does, in every window of the program:
// Qt leaves Enter on a button to a dialog's default buttons only. Installed once on the
// application, at start-up; Enter in any other control is left to that control and its window.
void InstallEnterOnButtons();

}  // namespace paysum
