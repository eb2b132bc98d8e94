// The Windows clipboard: text as CF_UNICODETEXT, private blocks under formats registered by
// name, in movable global memory. The layout of a block is the caller's; the clipboard only
// moves its bytes (Windows may round a block's size up, so a block must know its own length).
#include "common/Error.h"
#include "common/Utf.h"
#include "platform/ClipboardFormat.h"
#include "platform/Window.h"

#include "common/win32/WinApi.h"

#include <cstring>
#include <cwchar>
#include <string>

namespace ostinel::platform {

namespace {

// Another program may hold the clipboard for a moment; we retry a few times, never wait.
constexpr int kOpenAttempts = 8;

// Placing data needs an owner window, and the owner must not outlive this module: a
// message-only window of a system class (no window procedure of ours), destroyed at once.
// The data stays on the clipboard after its owner is gone.
class OwnerWindow {
public:
    OwnerWindow()
        : hwnd_(::CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr,
                                  nullptr)) {}
    ~OwnerWindow() {
        if (hwnd_ != nullptr) {
            ::DestroyWindow(hwnd_);
        }
    }
    OwnerWindow(const OwnerWindow&) = delete;
    OwnerWindow& operator=(const OwnerWindow&) = delete;
    [[nodiscard]] HWND Handle() const { return hwnd_; }

private:
    HWND hwnd_;
};

class OpenClipboardScope {
public:
    explicit OpenClipboardScope(HWND owner) {
        for (int i = 0; i < kOpenAttempts && !open_; ++i) {
            open_ = ::OpenClipboard(owner) != FALSE;
        }
    }
    ~OpenClipboardScope() {
        if (open_) {
            ::CloseClipboard();
        }
    }
    OpenClipboardScope(const OpenClipboardScope&) = delete;
    OpenClipboardScope& operator=(const OpenClipboardScope&) = delete;
    [[nodiscard]] bool IsOpen() const { return open_; }

private:
    bool open_ = false;
};

class GlobalLockScope {
public:
    explicit GlobalLockScope(HGLOBAL memory) : memory_(memory), data_(::GlobalLock(memory)) {}
    ~GlobalLockScope() {
        if (data_ != nullptr) {
            ::GlobalUnlock(memory_);
        }
    }
    GlobalLockScope(const GlobalLockScope&) = delete;
    GlobalLockScope& operator=(const GlobalLockScope&) = delete;
    [[nodiscard]] void* Data() const { return data_; }

private:
    HGLOBAL memory_;
    void* data_;
};

UINT RegisteredFormat(const std::string& name) {
    if (!IsValidClipboardFormatName(name)) {
        return 0;
    }
    return ::RegisterClipboardFormatW(Utf8ToWide(name).c_str());
}

std::optional<std::vector<std::uint8_t>> ReadBlock(UINT format) {
    OpenClipboardScope clipboard(nullptr);
    if (!clipboard.IsOpen()) {
        return std::nullopt;
    }
    HANDLE handle = ::GetClipboardData(format);
    if (handle == nullptr) {
        return std::nullopt;
    }
    GlobalLockScope lock(handle);
    if (lock.Data() == nullptr) {
        return std::nullopt;
    }
    const auto* bytes = static_cast<const std::uint8_t*>(lock.Data());
    return std::vector<std::uint8_t>(bytes, bytes + ::GlobalSize(handle));
}

void PlaceBlock(UINT format, const void* data, std::size_t size) {
    // Zeroed, so that rounding up adds zeros and no stale memory.
    HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size == 0 ? 1 : size);
    if (memory == nullptr) {
        throw Error("Not enough memory for the clipboard");
    }
    {
        GlobalLockScope lock(memory);
        if (lock.Data() == nullptr) {
            ::GlobalFree(memory);
            throw Error("Not enough memory for the clipboard");
        }
        if (size != 0) {
            std::memcpy(lock.Data(), data, size);
        }
    }
    OwnerWindow owner;
    OpenClipboardScope clipboard(owner.Handle());
    if (!clipboard.IsOpen()) {
        ::GlobalFree(memory);
        throw Error("Cannot open the clipboard");
    }
    ::EmptyClipboard();
    if (::SetClipboardData(format, memory) == nullptr) {
        ::GlobalFree(memory);
        throw Error("Cannot place data on the clipboard");
    }
    // The clipboard owns the memory now.
}

class Win32Clipboard final : public IClipboard {
public:
    [[nodiscard]] bool HasFormat(const std::string& formatName) const override {
        const UINT format = RegisteredFormat(formatName);
        return format != 0 && ::IsClipboardFormatAvailable(format) != FALSE;
    }

    [[nodiscard]] std::optional<std::vector<std::uint8_t>>
    GetData(const std::string& formatName) const override {
        const UINT format = RegisteredFormat(formatName);
        if (format == 0) {
            return std::nullopt;
        }
        return ReadBlock(format);
    }

    void SetData(const std::string& formatName, const std::vector<std::uint8_t>& block) override {
        CheckClipboardFormatName(formatName);
        const UINT format = RegisteredFormat(formatName);
        if (format == 0) {
            throw Error("Cannot register the clipboard format \"" + formatName + "\"");
        }
        PlaceBlock(format, block.data(), block.size());
    }

    [[nodiscard]] std::optional<std::string> GetText() const override {
        const auto block = ReadBlock(CF_UNICODETEXT);
        if (!block) {
            return std::nullopt;
        }
        // Up to the terminating NUL, never past the block.
        std::wstring text(block->size() / sizeof(wchar_t), L'\0');
        std::memcpy(text.data(), block->data(), text.size() * sizeof(wchar_t));
        text.resize(std::wcslen(text.c_str()));
        return WideToUtf8(text);
    }

    void SetText(const std::string& utf8) override {
        const std::wstring text = Utf8ToWide(utf8);
        PlaceBlock(CF_UNICODETEXT, text.c_str(), (text.size() + 1) * sizeof(wchar_t));
    }
};

} // namespace

IClipboard& Clipboard() {
    static Win32Clipboard clipboard;
    return clipboard;
}

} // namespace ostinel::platform
