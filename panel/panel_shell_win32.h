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

// Opens the program's help window in the current help language and
// function at a topic number (0 or an unknown number: the contents); a
// dialog that asks stays active and keeps its typing.
void OpenHelp(HWND owner, int topic);
