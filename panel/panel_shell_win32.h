// What the panel windows ask of the program around them. The program
// defines these; a panel window cannot work without them.
#pragma once

#include <windows.h>

// Runs at the start of every drawing pass of a panel (the mode refresh). It
// may repaint the main window, ask a question, or close the analyser
// settings window.
void RefreshModeState();

// Places a dialog centred over the main window, never above or left of the
// screen origin.
void CenterDialog(HWND dialog);

// Opens the help file of the current help language and function: at its
// contents (topic 0) or at a topic number.
void OpenHelp(HWND owner, int topic);
