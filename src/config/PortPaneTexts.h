#pragma once
// What the port settings dialog writes into the status bar's port and line panes, and every text it
// can write there, so that the frame can make those panes wide enough from the start.

#include <string>
#include <vector>

#include "framework/base/CString.h"

// "Port: " and the port's name.
CString PortPaneText(const std::string& portName);
// "Line: ", the speed, the parity's first letter and the data bits: "Line: 9600,N,8".
CString LinePaneText(const CString& baudRate, const CString& parity, const CString& dataBits);

// The port pane's text for each name the dialog probes.
std::vector<CString> EveryPortPaneText();
// The line pane's text for each speed, parity and data-bit count the dialog's lists offer.
std::vector<CString> EveryLinePaneText();
