#include "platform/x11/ClipboardStore.h"

#include "common/Error.h"
#include "platform/ClipboardFormat.h"
#include "platform/System.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string_view>

namespace ostinel::platform::x11 {

namespace {

constexpr std::string_view kMagic = "OSTINEL-CLIPBOARD-1\n";
constexpr std::string_view kProductFolder = "/Quorvat/Ostinel";

std::string AbsoluteVariable(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr && value[0] == '/' ? std::string(value) : std::string();
}

std::string StoreFolder() {
    if (std::string runtime = AbsoluteVariable("XDG_RUNTIME_DIR"); !runtime.empty()) {
        return runtime + std::string(kProductFolder);
    }
    if (std::string cache = AbsoluteVariable("XDG_CACHE_HOME"); !cache.empty()) {
        return cache + std::string(kProductFolder);
    }
    if (std::string home = AbsoluteVariable("HOME"); !home.empty()) {
        return home + "/.cache" + std::string(kProductFolder);
    }
    return {};
}

void PutU32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) {
        out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
    }
}

class Reader {
public:
    explicit Reader(const std::vector<std::uint8_t>& data) : data_(data) {}
    bool Take(std::size_t n, const std::uint8_t*& at) {
        if (data_.size() - pos_ < n) {
            return false;
        }
        at = data_.data() + pos_;
        pos_ += n;
        return true;
    }
    bool U32(std::uint32_t& v) {
        const std::uint8_t* at = nullptr;
        if (!Take(4, at)) {
            return false;
        }
        v = static_cast<std::uint32_t>(at[0]) | static_cast<std::uint32_t>(at[1]) << 8 |
            static_cast<std::uint32_t>(at[2]) << 16 | static_cast<std::uint32_t>(at[3]) << 24;
        return true;
    }
    [[nodiscard]] bool AtEnd() const { return pos_ == data_.size(); }

private:
    const std::vector<std::uint8_t>& data_;
    std::size_t pos_ = 0;
};

class Fd {
public:
    explicit Fd(int fd) : fd_(fd) {}
    ~Fd() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    [[nodiscard]] int get() const { return fd_; }
    // Closes now, reporting the result (close can report a failed write).
    bool Close() {
        const int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0;
    }

private:
    int fd_;
};

[[noreturn]] void Fail(const std::string& what) {
    throw Error("Cannot write the clipboard (" + what + ")");
}

} // namespace

std::string ClipboardFilePath() {
    const std::string folder = StoreFolder();
    return folder.empty() ? folder : folder + "/clipboard";
}

// Layout: magic, kind ('T' text, 'D' data), name length (u32 LE), name, byte count (u32 LE),
// bytes; nothing after.
std::vector<std::uint8_t> EncodeClipboardEntry(const ClipboardEntry& entry) {
    std::vector<std::uint8_t> out(kMagic.begin(), kMagic.end());
    out.push_back(entry.isText ? 'T' : 'D');
    PutU32(out, static_cast<std::uint32_t>(entry.formatName.size()));
    out.insert(out.end(), entry.formatName.begin(), entry.formatName.end());
    PutU32(out, static_cast<std::uint32_t>(entry.bytes.size()));
    out.insert(out.end(), entry.bytes.begin(), entry.bytes.end());
    return out;
}

std::optional<ClipboardEntry> DecodeClipboardEntry(const std::vector<std::uint8_t>& file) {
    Reader in(file);
    const std::uint8_t* at = nullptr;
    if (!in.Take(kMagic.size(), at) || std::memcmp(at, kMagic.data(), kMagic.size()) != 0 ||
        !in.Take(1, at) || (*at != 'T' && *at != 'D')) {
        return std::nullopt;
    }
    ClipboardEntry entry;
    entry.isText = *at == 'T';
    std::uint32_t nameSize = 0;
    if (!in.U32(nameSize) || nameSize > kMaxClipboardFormatName || !in.Take(nameSize, at)) {
        return std::nullopt;
    }
    entry.formatName.assign(reinterpret_cast<const char*>(at), nameSize);
    if (entry.isText != entry.formatName.empty() ||
        (!entry.isText && !IsValidClipboardFormatName(entry.formatName))) {
        return std::nullopt;
    }
    std::uint32_t size = 0;
    if (!in.U32(size) || size > kMaxClipboardBytes || !in.Take(size, at) || !in.AtEnd()) {
        return std::nullopt;
    }
    entry.bytes.assign(at, at + size);
    return entry;
}

std::optional<ClipboardEntry> FileClipboard::Read() {
    const std::string path = ClipboardFilePath();
    if (path.empty()) {
        return std::nullopt;
    }
    Fd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    struct stat info {};
    if (fd.get() < 0 || ::fstat(fd.get(), &info) != 0 || !S_ISREG(info.st_mode) ||
        static_cast<std::uint64_t>(info.st_size) > kMaxClipboardBytes + 1024) {
        return std::nullopt;
    }
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(info.st_size));
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::read(fd.get(), bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return std::nullopt;
        }
        done += static_cast<std::size_t>(n);
    }
    return DecodeClipboardEntry(bytes);
}

void FileClipboard::Write(const ClipboardEntry& entry) {
    if (entry.bytes.size() > kMaxClipboardBytes) {
        Fail("too large");
    }
    const std::string path = ClipboardFilePath();
    if (path.empty()) {
        Fail("no folder for it: HOME is not set");
    }
    CreateFolders(path.substr(0, path.rfind('/')));
    static std::atomic<unsigned> counter{0};
    const std::string temp = path + "." + std::to_string(::getpid()) + "." +
                             std::to_string(counter.fetch_add(1)) + ".tmp";
    const std::vector<std::uint8_t> bytes = EncodeClipboardEntry(entry);
    Fd fd(::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600));
    if (fd.get() < 0) {
        Fail(temp + ": " + std::strerror(errno));
    }
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd.get(), bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            const std::string reason = std::strerror(errno);
            ::unlink(temp.c_str());
            Fail(temp + ": " + reason);
        }
        done += static_cast<std::size_t>(n);
    }
    if (!fd.Close() || ::rename(temp.c_str(), path.c_str()) != 0) {
        const std::string reason = std::strerror(errno);
        ::unlink(temp.c_str());
        Fail(path + ": " + reason);
    }
}

bool FileClipboard::HasFormat(const std::string& formatName) const {
    const auto entry = Read();
    return entry && !entry->isText && entry->formatName == formatName;
}

std::optional<std::vector<std::uint8_t>>
FileClipboard::GetData(const std::string& formatName) const {
    auto entry = Read();
    if (!entry || entry->isText || entry->formatName != formatName) {
        return std::nullopt;
    }
    return std::move(entry->bytes);
}

void FileClipboard::SetData(const std::string& formatName, const std::vector<std::uint8_t>& block) {
    CheckClipboardFormatName(formatName);
    Write({false, formatName, block});
}

std::optional<std::string> FileClipboard::GetText() const {
    const auto entry = Read();
    if (!entry || !entry->isText) {
        return std::nullopt;
    }
    return std::string(entry->bytes.begin(), entry->bytes.end());
}

void FileClipboard::SetText(const std::string& utf8) {
    Write({true, {}, std::vector<std::uint8_t>(utf8.begin(), utf8.end())});
}

} // namespace ostinel::platform::x11

namespace ostinel::platform {

IClipboard& Clipboard() {
    static x11::FileClipboard clipboard;
    return clipboard;
}

} // namespace ostinel::platform
