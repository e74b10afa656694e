#pragma once

// Everything a dialog of the application needs from the framework layer.
#include "framework/Controls.h"
#include "framework/DataExchange.h"
#include "framework/Dialog.h"
#include "framework/IconDialog.h"
#include "framework/MessageBox.h"
#include "framework/WinApp.h"
