// The calls the link core makes into the program around it. The Windows
// program implements them over the serial port and its windows; the tests
// implement them as recording fakes.
#pragma once

#include <cstdint>

struct ParamDesc;

// Reads what the port has waiting, at most `capacity` bytes, without
// waiting. Returns the number of bytes read (0 when none or on failure).
int PortRead(uint8_t* buffer, int capacity);

// Writes `count` bytes and returns when they have left the port (or the
// write failed, which the link does not notice).
void PortWrite(const uint8_t* bytes, int count);

enum class PanelTarget { MainWindow, AnalyserSettingsWindow };

// Asks the panel in `target` to draw the records of `table` marked Redraw
// (the panel dispatcher's request 1034). Nothing happens when the window is
// not open.
void RequestPanelRedraw(PanelTarget target, ParamDesc* table, int count, int panelType);

// Shows the device function and the link state in the main window's title.
void UpdateWindowTitle();
