// The setup file commands the main window and its questions call: save,
// open and load a setup of one device function.
#pragma once

#include <windows.h>

// 1 when the file was written, 0 otherwise (cancelled, not writable,
// function 0).
int SaveSetupFile(HWND owner, int function, bool askForName);
void OpenSetupFile(HWND owner, int function);
// Loads a file by a fixed path into the analyser settings (keys F5 to F8).
void LoadAnalyserUserSettings(HWND owner, const char* path);
