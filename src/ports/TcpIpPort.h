#pragma once
// A standard TCP/IP printer port for a network printer, added through the
// spooler's "Standard TCP/IP Port" monitor.

// Asks the monitor to add the raw TCP port portName (the caller builds
// "TVIP_" and the address) for the printer at address (dotted decimal), port
// 9100, SNMP off. 1 when the spooler accepted the request; otherwise the
// system's text for the failure is shown under the caption "ERROR" and the
// result is 0. A name or address too long for the monitor's record fails
// that way as well, before the spooler is asked.
int AddTcpIpPort(const char* portName, const char* address);
