#include "cli/usage.h"

namespace quorvel::cli {

std::string usageText() {
  return R"(Usage: quorvel-cli [--program-folder DIR] COMMAND...
       quorvel-cli --help | -h | --version

Runs the windows of Quorvel without a screen. The commands are run in order; Form1 is open
at start.

  open FormN, close FormN          open or close a window
  activate FormN                   make an open window the active one again, as a click into it
  set FormN.Control=VALUE          type a text; a check box 0/1 or an option button 1 acts as
                                   a click; a scroll bar takes its value; Picture1(3) names
                                   element 3 of an array
  click FormN.Control              press a button, tick a box, choose an option
  mouse FormN.Control left|right X Y
                                   a mouse press on a picture, in its own coordinates
  answer yes|no, file PATH         the answer of the next Yes/No box, the path of the next
                                   file dialog
  wait MS                          let timers run for MS milliseconds
  stop-after N                     press the stop button at the N-th yield of the loops that
                                   follow
  save FormN.Control PATH          the picture as .bmp or .png
  screenshot FormN PATH            the whole window as the desktop program shows it, .png or
                                   .bmp, at any point of the commands
  export FormN PATH                the window's results as .csv or .json (the experiment
                                   window and its report window after a run)
  menu FormN.Control ENTRY         an entry of a control's context menu, e.g.
                                   menu Form9.picBox "Сохранить отчет…"
  dump [FormN]                     JSON of every open window (or one): controls, texts,
                                   values, messages shown
  --program-folder DIR             the folder of Dat/ and the other program files

Every message box is printed on stderr when it appears. A malformed command, an unknown
window or control ends with status 2.

Example:
  quorvel-cli click Form1.Command1 set Form4.Option1=1 click Form4.Command7 dump Form4
)";
}

std::string versionText() {
  return "quorvel-cli " QUORVEL_VERSION "\n";
}

}  // namespace quorvel::cli
