#pragma once
// The help menu's commands that hand over to other programs.

// Opens the tutorial page "Help/Tessaly.htm" of the program folder in the browser;
// a missing page is reported.
void OpenTutorial();
// Starts the updater program of the program folder without waiting for it; a
// missing updater is reported.
void StartUpdater();
