#include "internet_messages.h"

#include <array>
#include <cstdio>

namespace quavera {
namespace {

struct ErrorText {
    unsigned long code;
    const char* text;
    bool certificate = false;
};

constexpr unsigned long kInvalidUrl = 12005;

constexpr std::array kErrorTexts = {
    ErrorText{12002, "Connection timeout!"},
    ErrorText{kInvalidUrl, "Invaild URL!"},
    ErrorText{12007, "Server name not resolved!"},
    ErrorText{12013, "Incorrect user name!"},
    ErrorText{12014, "Incorrect user password!"},
    ErrorText{12015, "Login failure!"},
    ErrorText{12020, "Not a proxy request!"},
    ErrorText{12028, "Item not found!"},
    ErrorText{12029, "Cannot connect!"},
    ErrorText{12030, "Connection aborted!"},
    ErrorText{12031, "Connection reset!"},
    ErrorText{12033, "Invalid proxy request!"},
    // Some WinInet builds pass the socket's own error through: the same
    // events, the same texts.
    ErrorText{10053, "Connection aborted!"},
    ErrorText{10054, "Connection reset!"},
    ErrorText{10060, "Connection timeout!"},
    ErrorText{10061, "Cannot connect!"},
    // Secure connections: the certificate is never accepted silently, so
    // the user learns why the server was refused.
    ErrorText{12037, "The server's certificate has expired or is not yet valid!", true},
    ErrorText{12038, "The server's certificate was issued for another server name!", true},
    ErrorText{12044, "The server asks for a client certificate!", true},
    ErrorText{12045, "The server's certificate comes from an authority that is not trusted!", true},
    ErrorText{12057, "The server's certificate could not be checked for revocation!", true},
    ErrorText{12157, "Secure connection failed!", true},
    ErrorText{12169, "The server's certificate is invalid!", true},
    ErrorText{12170, "The server's certificate has been revoked!", true},
    ErrorText{12175, "Secure connection failed!", true},
};

// WinInet's status numbers for the steps the progress window shows.
constexpr unsigned long kResolvingName = 10;
constexpr unsigned long kNameResolved = 11;
constexpr unsigned long kConnectingToServer = 20;
constexpr unsigned long kConnectedToServer = 21;

std::string Formatted(const char* format, const char* value) {
    char text[512];
    std::snprintf(text, sizeof text, format, value ? value : "");
    return text;
}

} // namespace

std::string InternetErrorText(unsigned long code) {
    for (const ErrorText& entry : kErrorTexts)
        if (entry.code == code) return entry.text;
    char text[64];
    std::snprintf(text, sizeof text, "Error code %d returned!", static_cast<int>(code));
    return text;
}

std::string SendFailureText(unsigned long code) {
    for (const ErrorText& entry : kErrorTexts)
        if (entry.code == code && entry.certificate) return entry.text;
    char text[64];
    std::snprintf(text, sizeof text, "sending request: %d", static_cast<int>(code));
    return text;
}

std::string InvalidAddressText() { return InternetErrorText(kInvalidUrl); }

std::string ConnectionStatusText(unsigned long status, const char* information) {
    switch (status) {
    case kResolvingName: return Formatted("Resolving name '%s'...", information);
    case kNameResolved: return Formatted("Name resoved (%s)...", information);
    case kConnectingToServer: return "Connecting...";
    case kConnectedToServer: return "Connected...";
    default: return {};
    }
}

} // namespace quavera
