#pragma once
// Closing the books at exit: today's file loses the plans that got their
// verdict, the notes keep their places in the settings file, and every past
// day passes into the history as not done and out of the data folder.

namespace shell {
class App;
}

namespace store {

// Everything an exit does after the tray icon went, in its order. A failing
// file operation is reported and the remaining work goes on.
void ShutdownProcessing(shell::App& app);

// Moves every plan of every day before today into the history, counted as not
// done, and removes those day files with the month folders, month-index lines
// and year folders they leave empty. Only files named as a day ("17.dat") are
// day files; whatever else a folder holds is left alone, and keeps its folder.
void SweepPastDays(shell::App& app);

}  // namespace store
