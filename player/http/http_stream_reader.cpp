#include "http_stream_reader.h"

#include <algorithm>
#include <limits>
#include <optional>
#include <vector>

#include "http_header_values.h"
#include "internet_messages.h"
#include "winbasic.h"

namespace quavera {
namespace {

constexpr const char* kUserAgent = "Quavera MPEG audio player";
constexpr const char* kProgressCaption = "Internet connection";
// Session, connection, request, name resolution (two), connecting (two) and
// the length: one bar step each.
constexpr int kConnectionSteps = 8;
constexpr DWORD kDefaultTimeoutMs = 300000;
// Account texts of the settings are cut to this length.
constexpr std::size_t kMaxAccountSetting = 31;
// A message to the reader's own window: show the WinInet error in wParam.
constexpr UINT kShowFailure = WM_APP + 1;
// A body that ends before its announced length ends like a dropped connection.
constexpr DWORD kConnectionAborted = ERROR_INTERNET_CONNECTION_ABORTED;
constexpr std::size_t kSkipChunk = 64 * 1024;

LRESULT CALLBACK NotifierProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != kShowFailure) return DefWindowProcA(window, message, wParam, lParam);
    const auto owner = reinterpret_cast<HWND>(GetWindowLongPtrA(window, GWLP_USERDATA));
    ShowError(owner, "%s", InternetErrorText(static_cast<DWORD>(wParam)).c_str());
    return 0;
}

HWND CreateNotifier() {
    constexpr const char* kClassName = "QuaveraHttpReader";
    static const bool registered = [] {
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = NotifierProcedure;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = kClassName;
        return RegisterClassA(&windowClass) != 0;
    }();
    if (!registered) return nullptr;
    return CreateWindowExA(0, kClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, GetModuleHandleA(nullptr),
                           nullptr);
}

std::string ReadSetting(const std::string& key, const char* name, std::size_t maxLength) {
    char text[reg::kStringSize] = {};
    ReadRegString(key.c_str(), name, text);
    return std::string(text).substr(0, maxLength);
}

const char* OrNull(const std::string& text) { return text.empty() ? nullptr : text.c_str(); }

bool QueryStatusCode(HINTERNET request, DWORD& status) {
    DWORD size = sizeof status;
    return HttpQueryInfoA(request, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &size, nullptr) != 0;
}

std::optional<std::int64_t> QueryNumber(HINTERNET request, DWORD header,
                                        std::optional<std::int64_t> (*parse)(std::string_view)) {
    char text[128] = {};
    DWORD size = sizeof text - 1;
    if (!HttpQueryInfoA(request, header, text, &size, nullptr)) return std::nullopt;
    return parse(std::string_view(text, std::min<DWORD>(size, sizeof text - 1)));
}

} // namespace

KernelHandle CreateSaveFile(const char* path) {
    const HANDLE file = CreateFileA(path, GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    return KernelHandle(file == INVALID_HANDLE_VALUE ? nullptr : file);
}

HttpStreamReader::HttpStreamReader(std::string settingsKey)
    : settingsKey_(std::move(settingsKey)), homeThread_(GetCurrentThreadId()), notifier_(CreateNotifier()),
      timeoutMs_(kDefaultTimeoutMs) {}

HttpStreamReader::~HttpStreamReader() { close(); }

int HttpStreamReader::open(const char* name) {
    close();
    KernelHandle save = std::move(pendingSave_);
    name_ = name ? name : "";
    length_ = 0;
    rangesIgnored_ = false;
    const std::optional<HttpAddress> address = ParseHttpAddress(name_);
    if (!address) {
        ShowError(owner_, "%s", InvalidAddressText().c_str());
        return 0;
    }
    address_ = *address;
    if (notifier_) SetWindowLongPtrA(notifier_.get(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(owner_));
    progress_.Show(owner_, kProgressCaption, kConnectionSteps);
    if (!Connect()) {
        CloseConnection();
        return 0;
    }
    saveFile_ = std::move(save);
    return 1;
}

bool HttpStreamReader::Connect() {
    if (!OpenSession()) return false;
    progress_.Step("Session established...");

    std::string user = address_.user;
    std::string password = address_.password;
    if (!address_.hasAccount) {
        user = ReadSetting(settingsKey_, reg::kUser, kMaxAccountSetting);
        if (!user.empty()) password = ReadSetting(settingsKey_, reg::kPassword, kMaxAccountSetting);
    }
    const auto port = static_cast<INTERNET_PORT>(
        address_.port != 0 ? address_.port : address_.secure ? INTERNET_DEFAULT_HTTPS_PORT : INTERNET_DEFAULT_HTTP_PORT);
    connection_.reset(InternetConnectA(session_.get(), address_.host.c_str(), port, OrNull(user), OrNull(password),
                                       INTERNET_SERVICE_HTTP, 0, reinterpret_cast<DWORD_PTR>(this)));
    if (!connection_) {
        Abandon(GetLastError());
        return false;
    }
    SetTimeouts(connection_.get());
    progress_.Step("HTTP connection initialized...");

    InternetHandle request;
    if (!SendRequest(0, request)) {
        const DWORD error = GetLastError();
        progress_.Close();
        if (!request) {
            Abandon(error);
        } else {
            ShowError(owner_, "%s", SendFailureText(error).c_str());
        }
        return false;
    }
    request_ = std::move(request);
    DWORD status = 0;
    if (!QueryStatusCode(request_.get(), status)) {
        Abandon(GetLastError());
        return false;
    }
    if (status != HTTP_STATUS_OK) {
        progress_.Close();
        ShowStatusRefusal(status);
        return false;
    }
    const std::optional<std::int64_t> length = QueryNumber(request_.get(), HTTP_QUERY_CONTENT_LENGTH, ParseContentLength);
    // The status record keeps lengths in 32 signed bits.
    length_ = static_cast<std::int32_t>(std::min<std::int64_t>(length.value_or(0), std::numeric_limits<std::int32_t>::max()));
    progress_.Step(length ? "HTTP file length received..." : "HTTP file length request faild!");
    progress_.Close();
    position_ = 0;
    return true;
}

// Set on every handle: not every WinInet passes the session's time-outs on
// to its connections and requests.
void HttpStreamReader::SetTimeouts(HINTERNET handle) {
    InternetSetOptionA(handle, INTERNET_OPTION_CONNECT_TIMEOUT, &timeoutMs_, sizeof timeoutMs_);
    InternetSetOptionA(handle, INTERNET_OPTION_RECEIVE_TIMEOUT, &timeoutMs_, sizeof timeoutMs_);
}

bool HttpStreamReader::OpenSession() {
    const std::string proxyHost = ReadSetting(settingsKey_, reg::kProxy, reg::kStringSize);
    if (proxyHost.empty()) {
        session_.reset(InternetOpenA(kUserAgent, INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0));
    } else {
        DWORD proxyPort = 0;
        ReadRegInt(settingsKey_.c_str(), reg::kProxyPort, &proxyPort);
        const std::string proxy = proxyPort != 0 ? proxyHost + ":" + std::to_string(proxyPort) : proxyHost;
        session_.reset(InternetOpenA(kUserAgent, INTERNET_OPEN_TYPE_PROXY, proxy.c_str(), nullptr, 0));
    }
    if (!session_) {
        Abandon(GetLastError());
        return false;
    }
    InternetSetStatusCallbackA(session_.get(), &HttpStreamReader::StatusCallback);
    SetTimeouts(session_.get());
    return true;
}

// Opens a GET request for the address's path, for the bytes from `from` on
// when that is not 0, and sends it. False with the request left empty when it
// could not be made, with the request kept when sending failed.
bool HttpStreamReader::SendRequest(std::int32_t from, InternetHandle& request) {
    const char* acceptTypes[] = {"*", nullptr};
    // A stream is read once: a cached copy would only take disk room, and a
    // partial answer must come from the server.
    DWORD flags = INTERNET_FLAG_KEEP_CONNECTION | INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_RELOAD;
    if (address_.secure) flags |= INTERNET_FLAG_SECURE;
    request.reset(HttpOpenRequestA(connection_.get(), "GET", address_.path.c_str(), nullptr, nullptr, acceptTypes,
                                   flags, reinterpret_cast<DWORD_PTR>(this)));
    if (!request) return false;
    SetTimeouts(request.get());
    progress_.Step("HTTP request header generated...");
    const std::string range = from > 0 ? "Range: bytes=" + std::to_string(from) + "-\r\n" : "";
    return HttpSendRequestA(request.get(), OrNull(range), static_cast<DWORD>(range.size()), nullptr, 0) != 0;
}

void HttpStreamReader::ShowStatusRefusal(DWORD status) {
    // No status at all: the server closed the connection without an answer.
    if (status == 0)
        ShowError(owner_, "%s", InternetErrorText(kConnectionAborted).c_str());
    else if (status == HTTP_STATUS_NOT_FOUND)
        ShowError(owner_, "URL '%s' not found", name_.c_str());
    else
        ShowError(owner_, "Query error %d", static_cast<int>(status));
}

int HttpStreamReader::close() {
    position_ = 0;
    saveFile_.reset();
    CloseConnection();
    return 1;
}

void HttpStreamReader::CloseConnection() {
    request_.reset();
    connection_.reset();
    session_.reset();
    progress_.Close();
}

std::uint32_t HttpStreamReader::read(void* buffer, std::uint32_t count) {
    // The top bit of the result is the next-file flag.
    count &= ~kNextFileFlag;
    if (!buffer || !request_) return 0;
    auto* bytes = static_cast<char*>(buffer);
    std::uint32_t done = 0;
    // The bytes received before a failure are still delivered and saved.
    std::optional<DWORD> failure;
    while (done < count) {
        DWORD received = 0;
        if (!InternetReadFile(request_.get(), bytes + done, count - done, &received)) {
            failure = GetLastError();
            break;
        }
        if (received == 0) {
            if (position_ + static_cast<std::int64_t>(done) < length_) failure = kConnectionAborted;
            break;
        }
        done += received;
    }
    Save(bytes, done);
    position_ += static_cast<std::int32_t>(done);
    if (failure) Abandon(*failure);
    return done;
}

void HttpStreamReader::Save(const void* bytes, DWORD count) {
    DWORD written = 0;
    // A save file that cannot take the bytes is given up; playback goes on.
    if (saveFile_ && count != 0 && (!WriteFile(saveFile_.get(), bytes, count, &written, nullptr) || written != count))
        saveFile_.reset();
}

int HttpStreamReader::seek(std::int32_t position) {
    if (!connection_ || position < 0) return 0;
    // Without a known length only the start can be reached again.
    if (length_ == 0 ? position > 0 : position > length_) return 0;
    if (position != position_ && !Reposition(position)) return 0;
    if (saveFile_) SetFilePointer(saveFile_.get(), position, nullptr, FILE_BEGIN);
    return 1;
}

bool HttpStreamReader::Reposition(std::int32_t target) {
    if (length_ > 0 && target == length_) {
        // Nothing follows; a request for no bytes would be refused.
        request_.reset();
        position_ = target;
        return true;
    }
    if (rangesIgnored_ && request_ && target > position_) return SkipTo(target);
    InternetHandle request;
    DWORD status = 0;
    if (!SendRequest(target, request) || !QueryStatusCode(request.get(), status)) {
        ShowFailure(GetLastError());
        return false;
    }
    if (status == HTTP_STATUS_PARTIAL_CONTENT &&
        QueryNumber(request.get(), HTTP_QUERY_CONTENT_RANGE, ParseContentRangeStart) == target) {
        request_ = std::move(request);
        position_ = target;
        return true;
    }
    if (status == HTTP_STATUS_OK) {
        // The server sends the whole file whatever part is asked for: read up
        // to the target, so that the engine never gets bytes from elsewhere.
        rangesIgnored_ = target > 0;
        request_ = std::move(request);
        position_ = 0;
        if (saveFile_) SetFilePointer(saveFile_.get(), 0, nullptr, FILE_BEGIN);
        return SkipTo(target);
    }
    ShowStatusRefusal(status);
    return false;
}

bool HttpStreamReader::SkipTo(std::int32_t target) {
    std::vector<char> scratch(kSkipChunk);
    while (position_ < target) {
        const auto wanted = static_cast<std::uint32_t>(std::min<std::int64_t>(target - position_, kSkipChunk));
        if (read(scratch.data(), wanted) != wanted) return false;
    }
    return true;
}

void HttpStreamReader::Abandon(DWORD error) {
    progress_.Close();
    ShowFailure(error);
    CloseConnection();
}

void HttpStreamReader::ShowFailure(DWORD error) {
    // A box on the engine's refresh thread would stop the refresh and could
    // wait on the window thread, which may be waiting for the refresh.
    if (GetCurrentThreadId() != homeThread_ && notifier_)
        PostMessageA(notifier_.get(), kShowFailure, error, 0);
    else
        ShowError(owner_, "%s", InternetErrorText(error).c_str());
}

void CALLBACK HttpStreamReader::StatusCallback(HINTERNET, DWORD_PTR context, DWORD status, LPVOID information,
                                               DWORD informationLength) {
    auto* self = reinterpret_cast<HttpStreamReader*>(context);
    if (!self) return;
    const char* text = static_cast<const char*>(information);
    const std::string value = text ? std::string(text, strnlen(text, informationLength)) : std::string();
    const std::string step = ConnectionStatusText(status, value.c_str());
    if (!step.empty()) self->progress_.Step(step);
}

} // namespace quavera
