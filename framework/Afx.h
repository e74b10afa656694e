// The framework layer: a thin set of classes over Win32 (application object,
// modal dialogs, message maps, data exchange, control wrappers, files) and
// nothing the application does not use. Strings are std::string, all ANSI.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>

class CWinApp;
class CWnd;
class CDialog;
class CDataExchange;
