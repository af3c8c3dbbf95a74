#pragma once
// The reader for HTTP and HTTPS addresses: it connects through WinInet
// (directly or through the proxy, with the account of the address or of the
// settings), hands the engine the response body as it arrives, seeks with a
// new request for the rest of the file, and can copy every byte it reads into
// a save file.
//
// Each reader holds its own session, connection and request, so a query
// through one reader (the queue's scan, the track properties) never disturbs
// another that the engine is playing from. Reads may come from the engine's
// refresh thread; the reader's message boxes always show on the thread that
// made the reader.
#include <windows.h>

#include <cstdint>
#include <string>

#include "connection_progress.h"
#include "handles.h"
#include "http_address.h"
#include "input_source.h"
#include "internet_handle.h"
#include "registry_values.h"
#include "win_handles.h"

namespace quavera {

// A save file for the reader: created anew (replacing one of that name) for
// writing; empty when it cannot be created.
KernelHandle CreateSaveFile(const char* path);

class HttpStreamReader final : public InputSource {
public:
    // settingsKey: where "Proxy", "ProxyPort", "User" and "Password" are read
    // at every open.
    explicit HttpStreamReader(std::string settingsKey = reg::kConfigurationKey);
    ~HttpStreamReader();
    HttpStreamReader(const HttpStreamReader&) = delete;
    HttpStreamReader& operator=(const HttpStreamReader&) = delete;

    // The window that owns the reader's message boxes and progress window.
    void setOwner(HWND owner) { owner_ = owner; }
    // Connect and receive time-out of the next open.
    void setTimeout(DWORD milliseconds) { timeoutMs_ = milliseconds; }
    // A file opened for writing that the next open makes the save file: it
    // receives every byte read, at the byte's position in the stream. The
    // next open takes it whether it succeeds or not.
    void setPendingSaveFile(KernelHandle file) { pendingSave_ = std::move(file); }

    int open(const char* name) override;
    int close() override;
    std::uint32_t read(void* buffer, std::uint32_t count) override;
    int seek(std::int32_t position) override;
    std::int32_t tell() override { return position_; }
    std::int32_t length() override { return length_; }
    const char* name() override { return name_.c_str(); }
    int fileChanged() override { return 0; }

private:
    static void CALLBACK StatusCallback(HINTERNET handle, DWORD_PTR context, DWORD status, LPVOID information,
                                        DWORD informationLength);

    bool Connect();
    bool OpenSession();
    void SetTimeouts(HINTERNET handle);
    bool SendRequest(std::int32_t from, InternetHandle& request);
    bool Reposition(std::int32_t target);
    bool SkipTo(std::int32_t target);
    void ShowStatusRefusal(DWORD status);
    void Save(const void* bytes, DWORD count);
    // Shows the WinInet error's text and closes the connection.
    void Abandon(DWORD error);
    void ShowFailure(DWORD error);
    void CloseConnection();

    const std::string settingsKey_;
    const DWORD homeThread_;
    ChildWindow notifier_;
    HWND owner_ = nullptr;
    DWORD timeoutMs_;

    std::string name_;
    HttpAddress address_;
    InternetHandle session_;
    InternetHandle connection_;
    InternetHandle request_;
    ConnectionProgress progress_;
    std::int32_t position_ = 0;
    std::int32_t length_ = 0;
    // The server answered a request for part of the file with all of it.
    bool rangesIgnored_ = false;
    KernelHandle saveFile_;
    KernelHandle pendingSave_;
};

} // namespace quavera
