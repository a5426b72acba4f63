// The line the unit talks on, as a Win32 DCB: 38400 baud, 8 data bits, no
// parity, one stop bit, no flow control of any kind, DTR and RTS held low.
// Shared by the window program's link and by qiv72ctl.exe, so that both
// open the port the same way.
#pragma once

#include <windows.h>

inline void SetUnitLine(DCB& dcb) {
    dcb.BaudRate = CBR_38400;
    dcb.ByteSize = 8;
    dcb.Parity = NOPARITY;
    dcb.fParity = FALSE;
    dcb.StopBits = ONESTOPBIT;
    dcb.fBinary = TRUE;
    dcb.fOutxCtsFlow = FALSE;
    dcb.fOutxDsrFlow = FALSE;
    dcb.fDtrControl = DTR_CONTROL_DISABLE;
    dcb.fRtsControl = RTS_CONTROL_DISABLE;
    dcb.fDsrSensitivity = FALSE;
    dcb.fTXContinueOnXoff = FALSE;
    dcb.fOutX = FALSE;
    dcb.fInX = FALSE;
    dcb.fNull = FALSE;
    dcb.fAbortOnError = FALSE;
}
