#pragma once
// The texts the HTTP reader shows: WinInet's error codes and the connection
// steps as the user reads them. Portable: the codes are plain numbers here.
#include <string>

namespace quavera {

// The error box text for a WinInet error code (12002 "Connection timeout!",
// ..., any other "Error code %d returned!").
std::string InternetErrorText(unsigned long code);

// The box text when a request could not be sent: "sending request: %d" with
// the code, or the table's text for a refused server certificate, which the
// user must be able to read.
std::string SendFailureText(unsigned long code);

// The text an address that names no usable server gets: the one WinInet
// gives to an address it cannot use.
std::string InvalidAddressText();

// The progress window's texts for the connection's status callback; empty
// for a status that is not shown.
std::string ConnectionStatusText(unsigned long status, const char* information);

} // namespace quavera
