// The framework layer: a thin set of classes over Win32 in the shape of the
// classic dialog framework (application object, dialogs, message maps, data
// exchange, control wrappers, files). Strings are std::string, all ANSI.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>

class CWinApp;
class CWnd;
class CDialog;
class CDataExchange;
