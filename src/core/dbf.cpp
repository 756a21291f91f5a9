#include "core/dbf.h"

#include "core/mask.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/uio.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <climits>
#include <cmath>
#include <cstring>
#include <fstream>

#include "core/fault.h"
#include "core/files.h"
#include "core/numbers.h"

namespace vestral::core::dbf {

namespace {

constexpr unsigned char kVersion = 0x03;
constexpr unsigned char kCodePage1252 = 0x03;
constexpr unsigned char kTerminator = 0x0D;
constexpr unsigned char kEndMarker = 0x1A;
constexpr size_t kBlockBytes = 64 * 1024;

uint16_t get_u16(const unsigned char* p) {
    return static_cast<uint16_t>(p[0] | (p[1] << 8));
}
uint32_t get_u32(const unsigned char* p) {
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
           (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}
void put_u16(char* p, unsigned v) {
    p[0] = static_cast<char>(v & 0xFF);
    p[1] = static_cast<char>((v >> 8) & 0xFF);
}
void put_u32(char* p, uint32_t v) {
    for (int i = 0; i < 4; ++i) p[i] = static_cast<char>((v >> (8 * i)) & 0xFF);
}

// The handler speaks in the operating-system codes of the platform the program came from.
int os_code_of(int err) {
    switch (err) {
        case EWOULDBLOCK:
            return kOsSharing;
        case EACCES:
        case EPERM:
        case EROFS:
            return kOsAccessDenied;
        case ENOENT:
            return 2;
        case ENOTDIR:
            return 3;
        case EMFILE:
        case ENFILE:
            return 4;
        case ENOSPC:
        case EFBIG:
            return 112;
        default:
            return 0;
    }
}

// Date and record count of the main header; the rest of the header is written only at creation.
void stamp_header(char* h, uint32_t count) {
    Date t = today();
    h[1] = static_cast<char>(std::clamp(t.year - 1900, 0, 255));
    h[2] = static_cast<char>(t.month);
    h[3] = static_cast<char>(t.day);
    put_u32(h + 4, count);
}

WriteSeam& seam_slot() {
    static WriteSeam s;
    return s;
}
void seam(std::string_view step) {
    if (seam_slot()) seam_slot()(step);
}

bool write_all(int fd, const char* p, size_t n, off_t at, int& err) {
    while (n > 0) {
        seam("write");
        ssize_t w = ::pwrite(fd, p, n, at);
        if (w < 0) {
            if (errno == EINTR) continue;
            err = errno;
            return false;
        }
        if (w == 0) {
            err = ENOSPC;
            return false;
        }
        p += w;
        n -= static_cast<size_t>(w);
        at += w;
    }
    return true;
}

bool sync_file(int fd, int& err) {
    seam("sync");
    if (::fsync(fd) == 0) return true;
    err = errno;
    return false;
}

// A rename reaches the disk only with its directory.
void sync_directory(const fs::path& file) {
    fs::path dir = file.parent_path();
    seam("sync");
    int d = ::open(dir.empty() ? "." : dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (d < 0) return;
    ::fsync(d);
    ::close(d);
}

bool read_all(int fd, std::string& bytes, int& err) {
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        err = errno;
        return false;
    }
    bytes.assign(static_cast<size_t>(st.st_size), '\0');
    size_t got = 0;
    while (got < bytes.size()) {
        ssize_t r = ::pread(fd, bytes.data() + got, bytes.size() - got, static_cast<off_t>(got));
        if (r < 0 && errno == EINTR) continue;
        if (r < 0) {
            err = errno;
            return false;
        }
        if (r == 0) break;
        got += static_cast<size_t>(r);
    }
    bytes.resize(got);
    return true;
}

std::vector<std::string>& durable_names() {
    static std::vector<std::string> names;
    return names;
}

struct FieldRegistration {
    const void* owner;
    std::string table;
    const std::vector<MappedField>* fields;
};
std::vector<FieldRegistration>& field_registry() {
    static std::vector<FieldRegistration> r;
    return r;
}

std::string file_label(const fs::path& file) {
    return file.filename().string();
}

// Fault descriptions carry no final stop: the fault line goes on with ": <file>".
std::string without_stop(std::string s) {
    if (!s.empty() && s.back() == '.') s.pop_back();
    return s;
}

struct Header {
    Layout layout;
    int header_len = 0;
    int record_len = 0;
    uint32_t declared = 0;
};

// Parses a table header from the first bytes of a file. On failure returns the reason.
std::optional<std::string> parse_header(const unsigned char* b, size_t size, Header& h) {
    if (size < 32) return "Tabellenkopf zu kurz";
    if (b[0] != 0x03 && b[0] != 0x83) return "keine dBASE-III-Tabelle";
    h.declared = get_u32(b + 4);
    h.header_len = get_u16(b + 8);
    h.record_len = get_u16(b + 10);
    if (h.header_len < 33) return "Länge des Tabellenkopfs zu klein";
    if (static_cast<size_t>(h.header_len) > size) return "Tabellenkopf zu kurz";
    h.layout.clear();
    size_t off = 32;
    while (off < static_cast<size_t>(h.header_len) && b[off] != kTerminator) {
        if (off + 32 > static_cast<size_t>(h.header_len))
            return "Feldbeschreibungen reichen über den Tabellenkopf hinaus";
        Field f;
        size_t n = 0;
        while (n < 11 && b[off + n] != 0) ++n;
        std::string raw(reinterpret_cast<const char*>(b + off), n);
        while (!raw.empty() && raw.back() == ' ') raw.pop_back();
        f.name = cp1252_to_utf8(raw);
        f.type = static_cast<char>(b[off + 11]);
        f.width = b[off + 16];
        f.decimals = b[off + 17];
        h.layout.push_back(std::move(f));
        off += 32;
    }
    if (h.layout.empty()) return "keine Felder";
    if (newheadlen(h.layout) != h.record_len) return "Satzlänge passt nicht zu den Feldern";
    return std::nullopt;
}

std::string build_header(const Layout& layout, uint32_t count) {
    size_t hl = 32 + 32 * layout.size() + 1;
    std::string h(hl, '\0');
    h[0] = static_cast<char>(kVersion);
    stamp_header(h.data(), count);
    put_u16(h.data() + 8, static_cast<unsigned>(hl));
    put_u16(h.data() + 10, static_cast<unsigned>(newheadlen(layout)));
    h[29] = static_cast<char>(kCodePage1252);
    for (size_t i = 0; i < layout.size(); ++i) {
        char* d = h.data() + 32 + 32 * i;
        std::string name = to_upper_ascii(layout[i].name).substr(0, 10);
        std::memcpy(d, name.data(), name.size());
        d[11] = layout[i].type;
        d[16] = static_cast<char>(layout[i].width);
        // A character field has no decimals in this format, whatever a layout says.
        d[17] = static_cast<char>(layout[i].type == 'C' ? 0 : layout[i].decimals);
    }
    h[hl - 1] = static_cast<char>(kTerminator);
    return h;
}

bool valid_layout(const Layout& layout) {
    if (layout.empty() || layout.size() > 2000) return false;
    long total = 1;
    for (const Field& f : layout) {
        if (f.name.empty() || f.name.size() > 10) return false;
        if (f.width < 1 || f.width > 254 || f.decimals < 0 || f.decimals > 15) return false;
        total += f.width;
    }
    return total <= 65535;
}

// Strict number text: blanks, optional sign, digits with at most one point. Anything else is 0.
double parse_number(const char* p, size_t n) {
    size_t a = 0, e = n;
    while (a < e && (p[a] == ' ' || p[a] == '\0')) ++a;
    while (e > a && (p[e - 1] == ' ' || p[e - 1] == '\0')) --e;
    if (a == e) return 0.0;
    bool neg = false;
    if (p[a] == '-' || p[a] == '+') {
        neg = p[a] == '-';
        ++a;
    }
    size_t digits = 0, points = 0;
    for (size_t i = a; i < e; ++i) {
        if (p[i] >= '0' && p[i] <= '9')
            ++digits;
        else if (p[i] == '.')
            ++points;
        else
            return 0.0;
    }
    if (digits == 0 || points > 1) return 0.0;
    double v = 0.0;
    auto r = std::from_chars(p + a, p + e, v, std::chars_format::fixed);
    if (r.ec != std::errc() || !std::isfinite(v)) return 0.0;
    return neg ? -v : v;
}

// The text of format_plain(v, decimals) without its detour through a rounded double: the
// shortest decimal form of v rounded half away from zero on its digits, which is what round_to
// does. Returns the length, or 0 when v is outside the range where both agree digit for digit:
// below 10^(15 - decimals) the result has at most 15 significant digits, which a double holds.
size_t fixed_text(double v, int decimals, char* out, size_t cap) {
    static const double kLimit[16] = {1e15, 1e14, 1e13, 1e12, 1e11, 1e10, 1e9, 1e8,
                                      1e7,  1e6,  1e5,  1e4,  1e3,  1e2,  1e1, 1e0};
    if (decimals < 0 || decimals > 15 || !(std::fabs(v) < kLimit[decimals])) return 0;
    char buf[64];
    auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed);
    if (r.ec != std::errc()) return 0;
    std::string_view s(buf, static_cast<size_t>(r.ptr - buf));
    bool neg = !s.empty() && s[0] == '-';
    if (neg) s.remove_prefix(1);
    size_t dot = s.find('.');
    std::string_view ip = dot == std::string_view::npos ? s : s.substr(0, dot);
    std::string_view fp = dot == std::string_view::npos ? std::string_view() : s.substr(dot + 1);
    char digits[48];
    size_t n = 0;
    digits[n++] = '0';  // room for a carry
    for (char c : ip) digits[n++] = c;
    for (size_t i = 0; i < static_cast<size_t>(decimals); ++i) digits[n++] = i < fp.size() ? fp[i] : '0';
    if (static_cast<size_t>(decimals) < fp.size() && fp[static_cast<size_t>(decimals)] >= '5') {
        size_t i = n - 1;
        while (digits[i] == '9') digits[i--] = '0';
        ++digits[i];
    }
    size_t first = 0;
    while (first + 1 < n - static_cast<size_t>(decimals) && digits[first] == '0') ++first;
    bool zero = std::all_of(digits + first, digits + n, [](char c) { return c == '0'; });
    size_t len = (neg && !zero ? 1 : 0) + (n - first) + (decimals > 0 ? 1 : 0);
    if (len > cap) return 0;
    char* o = out;
    if (neg && !zero) *o++ = '-';
    size_t int_end = n - static_cast<size_t>(decimals);
    for (size_t i = first; i < int_end; ++i) *o++ = digits[i];
    if (decimals > 0) {
        *o++ = '.';
        for (size_t i = int_end; i < n; ++i) *o++ = digits[i];
    }
    return len;
}

// Right-aligned in exactly `width` characters: fewer decimals when the value does not fit, stars
// when it does not fit at all.
void format_number(double v, int width, int decimals, char* field) {
    const size_t w = static_cast<size_t>(width);
    if (std::isfinite(v)) {
        for (int d = std::min(decimals, 15); d >= 0; --d) {
            char text[400];
            size_t len = fixed_text(v, d, text, sizeof text);
            if (len == 0) {
                std::string s = format_plain(v, d);
                len = std::min(s.size(), sizeof text);
                if (s.size() > w) continue;
                std::memcpy(text, s.data(), len);
            }
            if (len > w) continue;
            std::memset(field, ' ', w - len);
            std::memcpy(field + (w - len), text, len);
            return;
        }
    }
    std::memset(field, '*', w);
}

}  // namespace

int newheadlen(const Layout& layout) {
    long n = 1;
    for (const Field& f : layout) n += f.width;
    return static_cast<int>(std::min<long>(n, INT_MAX));
}

bool layout_matches(const Layout& file_layout, const Layout& wanted) {
    return file_layout.size() == wanted.size() && newheadlen(file_layout) == newheadlen(wanted);
}

namespace {
fs::path existing_spelling(const fs::path& file) {
    std::error_code ec;
    if (fs::exists(file, ec)) return file;
    fs::path dir = file.parent_path();
    return resolve_ci(dir.empty() ? fs::path(".") : dir, file.filename().string());
}
}  // namespace

std::optional<Layout> read_layout(const fs::path& file) {
    std::ifstream in(existing_spelling(file), std::ios::binary);
    if (!in) return std::nullopt;
    std::string buf(32, '\0');
    in.read(buf.data(), 32);
    if (in.gcount() < 32) return std::nullopt;
    size_t hl = get_u16(reinterpret_cast<const unsigned char*>(buf.data()) + 8);
    if (hl > 32) {
        buf.resize(hl);
        in.read(buf.data() + 32, static_cast<std::streamsize>(hl - 32));
        buf.resize(32 + static_cast<size_t>(in.gcount()));
    }
    Header h;
    if (parse_header(reinterpret_cast<const unsigned char*>(buf.data()), buf.size(), h)) return std::nullopt;
    return h.layout;
}

bool create_table(const fs::path& file_in, const Layout& layout) {
    fs::path file = existing_spelling(file_in);
    Fault base;
    base.gen_code = kGenCreate;
    base.description = "Fehler beim Anlegen der Tabelle";
    base.filename = file.string();
    base.operation = "DBCREATE";
    base.can_retry = true;
    base.can_default = true;
    if (!valid_layout(layout)) {
        base.can_retry = false;
        base.description = "Fehler beim Anlegen der Tabelle: ungültiger Tabellenaufbau";
        report_fault(base);
        return false;
    }
    std::string bytes = build_header(layout, 0);
    bytes.push_back(static_cast<char>(kEndMarker));
    return with_fault<bool>(
        base,
        [&](Fault& f) -> std::optional<bool> {
            // Replacing a file that someone holds open would pull it away under them.
            int fd = ::open(file.c_str(), O_RDWR | O_CLOEXEC);
            if (fd >= 0) {
                bool held = ::flock(fd, LOCK_EX | LOCK_NB) != 0;
                int err = errno;
                ::close(fd);
                if (held) {
                    f.os_code = os_code_of(err);
                    return std::nullopt;
                }
            }
            errno = 0;
            if (!atomic_write(file, bytes)) {
                f.os_code = os_code_of(errno ? errno : EIO);
                return std::nullopt;
            }
            return true;
        },
        false);
}

bool& net_error_flag() {
    static bool flag = false;
    return flag;
}

// ---------------------------------------------------------------------------------------------

struct Table::Impl {
    struct Order {
        std::string name;
        KeyFn key;
        FilterFn filter;
        std::vector<long> recs;         // records in the order
        std::vector<std::string> keys;  // their keys, parallel to recs
        std::vector<long> pos;          // position of each record in recs, -1 when not in it
        uint64_t built = UINT64_MAX;
    };

    Table* owner = nullptr;
    fs::path path;
    std::string alias;
    Layout layout;
    std::vector<int> offsets;
    int fd = -1;
    int header_len = 0;
    int record_len = 0;
    char version_byte = static_cast<char>(kVersion);
    std::string blank;

    // Records in fixed blocks, so appending never moves what is already there.
    long per_block = 1;
    std::vector<std::unique_ptr<char[]>> blocks;
    long count = 0;
    std::vector<uint8_t> dirty;  // per record: differs from the file
    long disk_count = 0;         // records the header on disk declares
    long low_water = 0;          // fewest records since the last write (zap lowers it)
    off_t file_size = 0;
    bool header_dirty = false;
    bool durable = false;
    std::string header_bytes;          // the file's header, reused when the file is rewritten
    std::vector<const void*> checked;  // record maps checked since the open

    long cur = 0;
    bool at_eof = true;
    bool at_bof = false;

    uint64_t struct_version = 0;  // records added or removed, deletion marks
    uint64_t data_version = 0;    // any change
    std::vector<Order> orders;    // orders[0] is record order
    int active = 0;

    char* rec(long i) {
        return blocks[static_cast<size_t>(i / per_block)].get() + (i % per_block) * record_len;
    }
    const char* rec(long i) const {
        return blocks[static_cast<size_t>(i / per_block)].get() + (i % per_block) * record_len;
    }
    bool is_deleted(long i) const { return rec(i)[0] == '*'; }

    void set_layout(Layout l) {
        layout = std::move(l);
        offsets.clear();
        int off = 1;
        for (const Field& f : layout) {
            offsets.push_back(off);
            off += f.width;
        }
        record_len = off;
        blank.assign(static_cast<size_t>(record_len), ' ');
        per_block = std::max<long>(1, static_cast<long>(kBlockBytes) / record_len);
    }

    void clear_records() {
        blocks.clear();
        count = 0;
        dirty.clear();
    }

    char* grow() {
        if (count % per_block == 0 && static_cast<size_t>(count / per_block) >= blocks.size())
            blocks.emplace_back(new char[static_cast<size_t>(per_block * record_len)]);
        char* r = rec(count);
        ++count;
        return r;
    }

    int field_index(std::string_view name) const {
        for (size_t i = 0; i < layout.size(); ++i)
            if (iequals_ascii(layout[i].name, name)) return static_cast<int>(i);
        return -1;
    }

    bool on_record() const { return !at_eof && cur >= 0 && cur < count; }

    void touch(long i, bool structural) {
        dirty[static_cast<size_t>(i)] = 1;
        ++data_version;
        if (structural) ++struct_version;
    }

    // Brings an order up to date with the records; keys and filters see the table positioned on
    // each record in turn.
    void build(const Table& t, Order& o) {
        uint64_t want = &o == &orders[0] ? struct_version : data_version;
        if (o.built == want && o.pos.size() == static_cast<size_t>(count)) return;
        o.recs.clear();
        o.keys.clear();
        o.pos.assign(static_cast<size_t>(count), -1);
        if (&o == &orders[0]) {
            for (long i = 0; i < count; ++i) {
                if (is_deleted(i)) continue;
                o.pos[static_cast<size_t>(i)] = static_cast<long>(o.recs.size());
                o.recs.push_back(i);
            }
            o.built = want;
            return;
        }
        long save_cur = cur;
        bool save_eof = at_eof, save_bof = at_bof;
        std::vector<std::pair<std::string, long>> items;
        for (long i = 0; i < count; ++i) {
            if (is_deleted(i)) continue;
            cur = i;
            at_eof = false;
            if (o.filter && !o.filter(t)) continue;
            items.emplace_back(o.key ? o.key(t) : std::string(), i);
        }
        cur = save_cur;
        at_eof = save_eof;
        at_bof = save_bof;
        std::sort(items.begin(), items.end());
        o.recs.reserve(items.size());
        o.keys.reserve(items.size());
        for (auto& [k, r] : items) {
            o.pos[static_cast<size_t>(r)] = static_cast<long>(o.recs.size());
            o.recs.push_back(r);
            o.keys.push_back(std::move(k));
        }
        o.built = want;
    }

    Order& ordered(const Table& t) {
        Order& o = orders[static_cast<size_t>(active)];
        build(t, o);
        return o;
    }

    void set_eof() {
        cur = count;
        at_eof = true;
    }

    void reset() {
        if (fd >= 0) {
            ::flock(fd, LOCK_UN);
            ::close(fd);
        }
        fd = -1;
        path.clear();
        alias.clear();
        layout.clear();
        offsets.clear();
        clear_records();
        disk_count = 0;
        low_water = 0;
        file_size = 0;
        header_dirty = false;
        durable = false;
        header_bytes.clear();
        checked.clear();
        cur = 0;
        at_eof = true;
        at_bof = false;
        ++struct_version;
        ++data_version;
        orders.clear();
        orders.push_back(Order{});
        active = 0;
    }

    bool needs_flush() const {
        if (header_dirty || disk_count != count) return true;
        return std::find(dirty.begin(), dirty.end(), 1) != dirty.end();
    }

    // Records first, then the header's count, so the header never declares records that are not
    // on disk; the header update overwrites bytes already on disk and cannot run out of space.
    // Records that the header counts and that are replaced as a whole (after zap) are first taken
    // out of the count, so no prefix of the writes shows a counted record of the old table
    // overwritten by a new one.
    bool write_changes(Fault& f) {
        int err = 0;
        auto failed = [&](int e) {
            f.os_code = os_code_of(e);
            return false;
        };
        if (low_water < disk_count) {
            char head[8];
            head[0] = version_byte;
            stamp_header(head, static_cast<uint32_t>(low_water));
            if (!write_all(fd, head, sizeof head, 0, err)) return failed(err);
            if (durable && !sync_file(fd, err)) return failed(err);
            disk_count = low_water;
        }
        std::vector<iovec> iov;
        auto write_run = [&](long from, long to) -> bool {
            off_t at = static_cast<off_t>(header_len) + static_cast<off_t>(from) * record_len;
            long i = from;
            while (i < to) {
                iov.clear();
                while (i < to && iov.size() < 512) {
                    long block_end = std::min<long>(to, (i / per_block + 1) * per_block);
                    iov.push_back({rec(i), static_cast<size_t>((block_end - i) * record_len)});
                    i = block_end;
                }
                size_t k = 0;
                while (k < iov.size()) {
                    seam("write");
                    ssize_t w = ::pwritev(fd, iov.data() + k, static_cast<int>(iov.size() - k), at);
                    if (w < 0 && errno == EINTR) continue;
                    if (w <= 0) {
                        err = w < 0 ? errno : ENOSPC;
                        return false;
                    }
                    at += w;
                    file_size = std::max(file_size, at);
                    size_t left = static_cast<size_t>(w);
                    while (k < iov.size() && left >= iov[k].iov_len) left -= iov[k++].iov_len;
                    if (k < iov.size() && left > 0) {
                        iov[k].iov_base = static_cast<char*>(iov[k].iov_base) + left;
                        iov[k].iov_len -= left;
                    }
                }
            }
            return true;
        };
        for (long i = 0; i < count;) {
            if (!dirty[static_cast<size_t>(i)]) {
                ++i;
                continue;
            }
            long j = i;
            while (j < count && dirty[static_cast<size_t>(j)]) ++j;
            if (!write_run(i, j)) return failed(err);
            i = j;
        }
        // The records are on the disk before any header counts them.
        if (durable && count > disk_count && !sync_file(fd, err)) return failed(err);
        off_t end = static_cast<off_t>(header_len) + static_cast<off_t>(count) * record_len;
        char marker = static_cast<char>(kEndMarker);
        if (!write_all(fd, &marker, 1, end, err)) return failed(err);
        char head[8];
        head[0] = version_byte;
        stamp_header(head, static_cast<uint32_t>(count));
        if (!write_all(fd, head, sizeof head, 0, err)) return failed(err);
        if (file_size > end + 1) {
            seam("truncate");
            if (::ftruncate(fd, end + 1) != 0) return failed(errno);
        }
        if (durable && !sync_file(fd, err)) return failed(err);
        file_size = end + 1;
        std::fill(dirty.begin(), dirty.end(), 0);
        disk_count = count;
        low_water = count;
        header_dirty = false;
        return true;
    }

    // The whole table as a new file: written under a temporary name beside the table, synced,
    // and renamed over it in one step. The new file is locked before the rename, so no other
    // opener can slip in between.
    bool rewrite(Fault& f) {
        static unsigned serial = 0;
        fs::path tmp = path;
        tmp += ".tmp" + std::to_string(::getpid()) + std::to_string(serial++);
        seam("create");
        int t = ::open(tmp.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
        if (t < 0) {
            f.os_code = os_code_of(errno);
            return false;
        }
        // However this ends short of success, the new file's descriptor goes (as it would with
        // the process); the file itself is removed only on a reported failure.
        struct Owned {
            int fd;
            ~Owned() {
                if (fd >= 0) ::close(fd);
            }
        } owned{t};
        struct stat st {};
        if (::fstat(fd, &st) == 0) ::fchmod(t, st.st_mode & 07777);
        ::flock(t, LOCK_EX | LOCK_NB);
        int err = 0;
        auto failed = [&](int e) {
            f.os_code = os_code_of(e);
            ::close(t);
            owned.fd = -1;
            seam("remove");
            ::unlink(tmp.c_str());
            return false;
        };
        std::string head = header_bytes;
        stamp_header(head.data(), static_cast<uint32_t>(count));
        if (!write_all(t, head.data(), head.size(), 0, err)) return failed(err);
        off_t at = static_cast<off_t>(header_len);
        for (long first = 0; first < count; first += per_block) {
            size_t n = static_cast<size_t>(std::min(per_block, count - first) * record_len);
            if (!write_all(t, rec(first), n, at, err)) return failed(err);
            at += static_cast<off_t>(n);
        }
        char marker = static_cast<char>(kEndMarker);
        if (!write_all(t, &marker, 1, at, err)) return failed(err);
        if (!sync_file(t, err)) return failed(err);
        seam("rename");
        if (::rename(tmp.c_str(), path.c_str()) != 0) return failed(errno);
        ::flock(fd, LOCK_UN);
        ::close(fd);
        fd = t;
        owned.fd = -1;
        file_size = at + 1;
        std::fill(dirty.begin(), dirty.end(), 0);
        disk_count = count;
        low_water = count;
        header_dirty = false;
        sync_directory(path);
        return true;
    }

    // Writes the table through rewrite() under the fault loop; false when the default was taken.
    bool rewrite_reported(const char* operation) {
        Fault base;
        base.gen_code = kGenWrite;
        base.description = "Schreibfehler";
        base.filename = path.string();
        base.operation = operation;
        base.can_retry = true;
        base.can_default = true;
        return with_fault<bool>(
            base,
            [&](Fault& f) -> std::optional<bool> {
                return rewrite(f) ? std::optional<bool>(true) : std::nullopt;
            },
            false);
    }

    // Appends the records of `src` that pass `filter` and writes the result through rewrite();
    // on any way out short of success the table in memory is put back as it was.
    bool append_all(Table& self, Table& src, const FilterFn& filter, const char* operation) {
        const long old_count = count;
        const std::vector<uint8_t> old_dirty = dirty;
        const long old_cur = cur;
        const bool old_eof = at_eof, old_bof = at_bof;
        bool done = false;
        struct Restore {
            Impl& d;
            const long& old_count;
            const std::vector<uint8_t>& old_dirty;
            long old_cur;
            bool old_eof, old_bof;
            bool& done;
            ~Restore() {
                if (done) return;
                d.count = old_count;
                d.blocks.resize(static_cast<size_t>((old_count + d.per_block - 1) / d.per_block));
                d.dirty = old_dirty;
                d.cur = old_cur;
                d.at_eof = old_eof;
                d.at_bof = old_bof;
                ++d.struct_version;
                ++d.data_version;
            }
        } restore{*this, old_count, old_dirty, old_cur, old_eof, old_bof, done};

        Impl& s = *src.d_;
        struct Pair {
            int from, to;
        };
        std::vector<Pair> pairs;
        for (size_t i = 0; i < layout.size(); ++i) {
            int k = s.field_index(layout[i].name);
            if (k >= 0) pairs.push_back({k, static_cast<int>(i)});
        }
        for (long r = 0; r < s.count; ++r) {
            if (s.is_deleted(r)) continue;
            s.cur = r;
            s.at_eof = false;
            if (filter && !filter(src)) continue;
            self.append_blank();
            for (const Pair& p : pairs) {
                const Field& sf = s.layout[static_cast<size_t>(p.from)];
                const Field& df = layout[static_cast<size_t>(p.to)];
                bool s_num = sf.type == 'N' || sf.type == 'F';
                switch (df.type) {
                    case 'N':
                    case 'F':
                        self.set_num(df.name,
                                     s_num ? src.num(sf.name) : parse_lenient(src.trimmed(sf.name)).value);
                        break;
                    case 'D':
                        self.set_date(df.name, src.date(sf.name));
                        break;
                    case 'C':
                        self.set_str(df.name, src.trimmed(sf.name));
                        break;
                    default: {
                        std::string raw(s.rec(r) + s.offsets[static_cast<size_t>(p.from)],
                                        static_cast<size_t>(sf.width));
                        raw.resize(static_cast<size_t>(df.width), ' ');
                        std::memcpy(rec(cur) + offsets[static_cast<size_t>(p.to)], raw.data(), raw.size());
                    }
                }
            }
        }
        if (!rewrite_reported(operation)) return false;
        done = true;
        return true;
    }

    // Fills an unopened table's records from the bytes of a file whose header was read.
    void load(const std::string& bytes, const Header& h, long n) {
        set_layout(h.layout);
        header_len = h.header_len;
        header_bytes = bytes.substr(0, static_cast<size_t>(h.header_len));
        for (long i = 0; i < n; ++i)
            std::memcpy(grow(), bytes.data() + h.header_len + static_cast<size_t>(i) * h.record_len,
                        static_cast<size_t>(h.record_len));
        dirty.assign(static_cast<size_t>(n), 0);
        disk_count = n;
        low_water = n;
        version_byte = bytes[0];
    }

    static std::vector<Impl*>& registry() {
        static std::vector<Impl*> r;
        return r;
    }
    void enlist() { registry().push_back(this); }
    void delist() {
        auto& r = registry();
        r.erase(std::remove(r.begin(), r.end(), this), r.end());
    }
};

Table::Table() : d_(std::make_unique<Impl>()) {
    d_->owner = this;
    d_->reset();
}

Table::~Table() {
    try {
        close();
    } catch (...) {
        // A fault while closing in a destructor has nowhere to go; the lock is released below.
    }
    if (d_) {
        d_->delist();
        d_->reset();
    }
}

Table::Table(Table&& other) noexcept : d_(std::move(other.d_)) {
    d_->owner = this;
    other.d_ = std::make_unique<Impl>();
    other.d_->owner = &other;
    other.d_->reset();
}

Table& Table::operator=(Table&& other) noexcept {
    if (this != &other) {
        std::swap(d_, other.d_);
        d_->owner = this;
        other.d_->owner = &other;
        try {
            other.close();
        } catch (...) {
        }
    }
    return *this;
}

bool Table::open(const fs::path& file, std::string alias) {
    return open_impl(file, std::move(alias), true);
}

bool Table::open_unchecked(const fs::path& file, std::string alias) {
    return open_impl(file, std::move(alias), false);
}

bool Table::open_impl(const fs::path& file_in, std::string alias, bool check_maps) {
    close();
    fs::path file = existing_spelling(file_in);
    Fault base;
    base.gen_code = kGenOpen;
    base.description = "Fehler beim Öffnen der Tabelle";
    base.filename = file.string();
    base.operation = "USE";
    base.args = {file.string()};
    base.can_retry = true;
    base.can_default = true;
    int last_os = 0;
    int fd = with_fault<int>(
        base,
        [&](Fault& f) -> std::optional<int> {
            int h = ::open(file.c_str(), O_RDWR | O_CLOEXEC);
            if (h < 0) {
                f.os_code = last_os = os_code_of(errno);
                return std::nullopt;
            }
            if (::flock(h, LOCK_EX | LOCK_NB) != 0) {
                f.os_code = last_os = os_code_of(errno);
                ::close(h);
                return std::nullopt;
            }
            return h;
        },
        -1);
    if (fd < 0) {
        if (last_os == kOsSharing || last_os == kOsAccessDenied) net_error_flag() = true;
        return false;
    }

    // A fault answered with "end" unwinds from the reading below; the lock must not outlive it.
    struct Guard {
        int fd;
        ~Guard() {
            if (fd >= 0) {
                ::flock(fd, LOCK_UN);
                ::close(fd);
            }
        }
    } guard{fd};

    Fault damaged;
    damaged.gen_code = kGenCorruption;
    damaged.description = without_stop(damage_reason(Damage::Header, file_label(file)));
    damaged.filename = file.string();
    damaged.operation = "USE";
    damaged.can_retry = true;
    damaged.can_default = true;
    std::string bytes;
    Header h;
    bool ok = with_fault<bool>(
        damaged,
        [&](Fault& f) -> std::optional<bool> {
            int err = 0;
            if (!read_all(fd, bytes, err)) {
                f.gen_code = kGenRead;
                f.description = "Lesefehler";
                f.os_code = os_code_of(err);
                return std::nullopt;
            }
            if (parse_header(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size(), h)) {
                f.description = without_stop(
                    damage_reason(bytes.empty() ? Damage::Empty : Damage::Header, file_label(file)));
                return std::nullopt;
            }
            const uint64_t data = static_cast<uint64_t>(h.declared) * static_cast<uint64_t>(h.record_len);
            if (bytes.size() - static_cast<size_t>(h.header_len) < data) {
                f.description = without_stop(damage_reason(Damage::Cut, file_label(file)));
                return std::nullopt;
            }
            return true;
        },
        false);
    if (!ok) return false;
    guard.fd = -1;

    Impl& d = *d_;
    d.fd = fd;
    d.path = file;
    d.alias = std::move(alias);
    const long n = static_cast<long>(h.declared);
    d.load(bytes, h, n);
    d.file_size = static_cast<off_t>(bytes.size());
    // Whole records behind the count were appended by a writer that stopped before it counted
    // them: they were never completed, and other readers must not show them.
    const off_t end = static_cast<off_t>(h.header_len) + static_cast<off_t>(n) * h.record_len;
    if (d.file_size > end + 1) {
        int err = 0;
        char marker = static_cast<char>(kEndMarker);
        if (write_all(fd, &marker, 1, end, err)) {
            seam("truncate");
            if (::ftruncate(fd, end + 1) == 0) d.file_size = end + 1;
        }
    }
    // A damaged count is corrected only when something is written anyway.
    d.header_dirty = false;
    d.durable = std::any_of(durable_names().begin(), durable_names().end(),
                            [&](const std::string& name) { return iequals_ascii(name, file_label(file)); });
    d.enlist();
    go_top();
    if (!check_maps) return true;
    const std::string name = file_label(file);
    for (const FieldRegistration& r : std::vector<FieldRegistration>(field_registry()))
        if (iequals_ascii(r.table + ".DBF", name) && first_check(r.owner)) check_fields(*this, *r.fields);
    return true;
}

void Table::close() {
    if (!d_ || d_->fd < 0) return;
    flush();
    d_->delist();
    d_->reset();
}

bool Table::is_open() const {
    return d_->fd >= 0;
}
const std::string& Table::alias() const {
    return d_->alias;
}
const fs::path& Table::path() const {
    return d_->path;
}
const Layout& Table::layout() const {
    return d_->layout;
}
bool Table::has_field(std::string_view name) const {
    return d_->field_index(name) >= 0;
}

long Table::reccount() const {
    return d_->count;
}
long Table::recno() const {
    return d_->at_eof ? d_->count + 1 : d_->cur + 1;
}
bool Table::eof() const {
    return d_->at_eof;
}
bool Table::bof() const {
    return d_->at_bof;
}

void Table::go_top() {
    auto& o = d_->ordered(*this);
    d_->at_bof = o.recs.empty();
    if (o.recs.empty()) {
        d_->set_eof();
        return;
    }
    d_->cur = o.recs.front();
    d_->at_eof = false;
}

void Table::go_bottom() {
    auto& o = d_->ordered(*this);
    d_->at_bof = o.recs.empty();
    if (o.recs.empty()) {
        d_->set_eof();
        return;
    }
    d_->cur = o.recs.back();
    d_->at_eof = false;
}

void Table::go_to(long recno) {
    d_->at_bof = false;
    if (recno >= 1 && recno <= d_->count) {
        d_->cur = recno - 1;
        d_->at_eof = false;
    } else {
        d_->set_eof();
    }
}

void Table::skip(long n) {
    Impl& d = *d_;
    if (n == 0) return;
    auto& o = d.ordered(*this);
    const long size = static_cast<long>(o.recs.size());
    long p;
    bool member = true;
    if (d.at_eof) {
        p = size;
    } else if (o.pos[static_cast<size_t>(d.cur)] >= 0) {
        p = o.pos[static_cast<size_t>(d.cur)];
    } else {
        // The current record left the order (deleted, or filtered out): step from where it would stand.
        member = false;
        const bool keyed = d.active != 0;
        std::string k = keyed && o.key ? o.key(*this) : std::string();
        long lo = 0, hi = size;
        while (lo < hi) {
            long mid = lo + (hi - lo) / 2;
            bool after;
            if (keyed) {
                const std::string& km = o.keys[static_cast<size_t>(mid)];
                after = km > k || (km == k && o.recs[static_cast<size_t>(mid)] > d.cur);
            } else {
                after = o.recs[static_cast<size_t>(mid)] > d.cur;
            }
            if (after)
                hi = mid;
            else
                lo = mid + 1;
        }
        p = lo;
    }
    long target = (!member && n > 0) ? p + n - 1 : p + n;
    d.at_bof = false;
    if (target >= size) {
        d.set_eof();
    } else if (target < 0) {
        d.at_bof = true;
        if (size == 0) {
            d.set_eof();
        } else {
            d.cur = o.recs.front();
            d.at_eof = false;
        }
    } else {
        d.cur = o.recs[static_cast<size_t>(target)];
        d.at_eof = false;
    }
}

long Table::count() const {
    return static_cast<long>(d_->ordered(*this).recs.size());
}

void Table::zap() {
    Impl& d = *d_;
    if (d.fd < 0) return;
    d.clear_records();
    d.low_water = 0;
    d.header_dirty = true;
    ++d.struct_version;
    ++d.data_version;
    d.at_bof = true;
    d.set_eof();
}

void Table::append_blank() {
    Impl& d = *d_;
    if (d.fd < 0) return;
    std::memcpy(d.grow(), d.blank.data(), static_cast<size_t>(d.record_len));
    d.dirty.push_back(1);
    ++d.struct_version;
    ++d.data_version;
    d.cur = d.count - 1;
    d.at_eof = false;
    d.at_bof = false;
}

bool Table::deleted() const {
    return d_->on_record() && d_->is_deleted(d_->cur);
}

void Table::delete_record() {
    Impl& d = *d_;
    if (!d.on_record() || d.is_deleted(d.cur)) return;
    d.rec(d.cur)[0] = '*';
    d.touch(d.cur, true);
}

bool Table::pack() {
    Impl& d = *d_;
    if (d.fd < 0) return true;
    long kept = 0;
    for (long i = 0; i < d.count; ++i)
        if (!d.is_deleted(i)) ++kept;
    if (kept == d.count) {
        go_top();
        return true;
    }
    // The compacted records go into new blocks; the old ones come back unless the new file is
    // in place.
    std::vector<std::unique_ptr<char[]>> old_blocks = std::move(d.blocks);
    const long old_count = d.count;
    std::vector<uint8_t> old_dirty = std::move(d.dirty);
    auto old_rec = [&](long i) {
        return old_blocks[static_cast<size_t>(i / d.per_block)].get() + (i % d.per_block) * d.record_len;
    };
    d.blocks.clear();
    d.count = 0;
    for (long i = 0; i < old_count; ++i) {
        const char* r = old_rec(i);
        if (r[0] != '*') std::memcpy(d.grow(), r, static_cast<size_t>(d.record_len));
    }
    d.dirty.assign(static_cast<size_t>(d.count), 1);
    bool done = false;
    struct Restore {
        Impl& d;
        std::vector<std::unique_ptr<char[]>>& blocks;
        long count;
        std::vector<uint8_t>& dirty;
        bool& done;
        ~Restore() {
            if (done) return;
            d.blocks = std::move(blocks);
            d.count = count;
            d.dirty = std::move(dirty);
        }
    } restore{d, old_blocks, old_count, old_dirty, done};
    done = d.rewrite_reported("PACK");
    ++d.struct_version;
    ++d.data_version;
    go_top();
    return done;
}

double Table::num(std::string_view field) const {
    const Impl& d = *d_;
    int i = d.field_index(field);
    if (i < 0 || !d.on_record()) return 0.0;
    const Field& f = d.layout[static_cast<size_t>(i)];
    if (f.type != 'N' && f.type != 'F') return 0.0;
    return parse_number(d.rec(d.cur) + d.offsets[static_cast<size_t>(i)], static_cast<size_t>(f.width));
}

std::string Table::str(std::string_view field) const {
    const Impl& d = *d_;
    int i = d.field_index(field);
    if (i < 0) return {};
    const Field& f = d.layout[static_cast<size_t>(i)];
    if (!d.on_record()) return std::string(static_cast<size_t>(f.width), ' ');
    std::string raw(d.rec(d.cur) + d.offsets[static_cast<size_t>(i)], static_cast<size_t>(f.width));
    std::replace(raw.begin(), raw.end(), '\0', ' ');
    return cp1252_to_utf8(raw);
}

std::string Table::trimmed(std::string_view field) const {
    std::string s = str(field);
    size_t a = s.find_first_not_of(' ');
    if (a == std::string::npos) return {};
    size_t e = s.find_last_not_of(' ');
    return s.substr(a, e - a + 1);
}

Date Table::date(std::string_view field) const {
    const Impl& d = *d_;
    int i = d.field_index(field);
    if (i < 0 || !d.on_record()) return {};
    const Field& f = d.layout[static_cast<size_t>(i)];
    return date_from_dbf(
        std::string_view(d.rec(d.cur) + d.offsets[static_cast<size_t>(i)], static_cast<size_t>(f.width)));
}

void Table::set_num(std::string_view field, double value) {
    Impl& d = *d_;
    int i = d.field_index(field);
    if (i < 0 || !d.on_record()) return;
    const Field& f = d.layout[static_cast<size_t>(i)];
    if (f.type != 'N' && f.type != 'F') return;
    format_number(value, f.width, f.decimals, d.rec(d.cur) + d.offsets[static_cast<size_t>(i)]);
    d.touch(d.cur, false);
}

void Table::set_str(std::string_view field, std::string_view utf8) {
    Impl& d = *d_;
    int i = d.field_index(field);
    if (i < 0 || !d.on_record()) return;
    const Field& f = d.layout[static_cast<size_t>(i)];
    if (f.type != 'C') return;
    // One byte per character in the file, so cutting the converted text never splits a character.
    std::string s = utf8_to_cp1252(utf8);
    s.resize(static_cast<size_t>(f.width), ' ');
    std::memcpy(d.rec(d.cur) + d.offsets[static_cast<size_t>(i)], s.data(), static_cast<size_t>(f.width));
    d.touch(d.cur, false);
}

void Table::set_date(std::string_view field, Date dt) {
    Impl& d = *d_;
    int i = d.field_index(field);
    if (i < 0 || !d.on_record()) return;
    const Field& f = d.layout[static_cast<size_t>(i)];
    if (f.type != 'D') return;
    std::string s = date_to_dbf(dt);
    s.resize(static_cast<size_t>(f.width), ' ');
    std::memcpy(d.rec(d.cur) + d.offsets[static_cast<size_t>(i)], s.data(), static_cast<size_t>(f.width));
    d.touch(d.cur, false);
}

void Table::set_blank(std::string_view field) {
    Impl& d = *d_;
    int i = d.field_index(field);
    if (i < 0 || !d.on_record()) return;
    const Field& f = d.layout[static_cast<size_t>(i)];
    std::memset(d.rec(d.cur) + d.offsets[static_cast<size_t>(i)], ' ', static_cast<size_t>(f.width));
    d.touch(d.cur, false);
}

bool Table::blank(std::string_view field) const {
    return trimmed(field).empty();
}

bool Table::flush() {
    Impl& d = *d_;
    if (d.fd < 0 || !d.needs_flush()) return true;
    Fault base;
    base.gen_code = kGenWrite;
    base.description = "Schreibfehler";
    base.filename = d.path.string();
    base.operation = "DBCOMMIT";
    base.can_retry = true;
    base.can_default = true;
    return with_fault<bool>(
        base,
        [&](Fault& f) -> std::optional<bool> {
            return d.write_changes(f) ? std::optional<bool>(true) : std::nullopt;
        },
        false);
}

void Table::set_durable(bool durable) {
    d_->durable = durable;
}

bool Table::durable() const {
    return d_->durable;
}

bool Table::append_from(const fs::path& other, FilterFn filter) {
    Impl& d = *d_;
    if (d.fd < 0) return false;
    Table src;
    if (!src.open_unchecked(other, "APPEND")) return false;
    return d.append_all(*this, src, filter, "APPEND");
}

long Table::salvage_from(const fs::path& damaged) {
    Impl& d = *d_;
    if (d.fd < 0) return -1;
    std::string bytes;
    int fd = ::open(damaged.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return 0;
    int err = 0;
    bool read = read_all(fd, bytes, err);
    ::close(fd);
    Header h;
    if (!read || parse_header(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size(), h))
        return 0;
    const size_t whole =
        (bytes.size() - static_cast<size_t>(h.header_len)) / static_cast<size_t>(h.record_len);
    Table src;
    src.d_->load(bytes, h, static_cast<long>(std::min<size_t>(h.declared, whole)));
    const long before = d.count;
    if (!d.append_all(*this, src, {}, "APPEND")) return -1;
    return d.count - before;
}

int Table::add_order(std::string name, KeyFn key, FilterFn filter) {
    Impl::Order o;
    o.name = std::move(name);
    o.key = std::move(key);
    o.filter = std::move(filter);
    d_->orders.push_back(std::move(o));
    return static_cast<int>(d_->orders.size()) - 1;
}

void Table::set_order(int order) {
    if (order >= 0 && order < static_cast<int>(d_->orders.size())) d_->active = order;
}

int Table::order() const {
    return d_->active;
}

std::vector<std::string> Table::order_names() const {
    std::vector<std::string> names;
    for (size_t i = 1; i < d_->orders.size(); ++i) names.push_back(d_->orders[i].name);
    return names;
}

std::vector<Table*> open_tables() {
    std::vector<Table*> out;
    for (Table::Impl* d : Table::Impl::registry()) out.push_back(d->owner);
    return out;
}

void close_all_tables() {
    for (Table* t : open_tables()) t->close();
}

bool Table::seek(std::string_view key) {
    Impl& d = *d_;
    d.at_bof = false;
    if (d.active == 0) {
        d.set_eof();
        return false;
    }
    auto& o = d.ordered(*this);
    auto it = std::lower_bound(o.keys.begin(), o.keys.end(), key,
                               [](const std::string& a, std::string_view b) { return a < b; });
    if (it == o.keys.end() || *it != key) {
        d.set_eof();
        return false;
    }
    d.cur = o.recs[static_cast<size_t>(it - o.keys.begin())];
    d.at_eof = false;
    return true;
}

std::string Table::raw_record() const {
    const Impl& d = *d_;
    if (!d.on_record()) return {};
    return std::string(d.rec(d.cur), static_cast<size_t>(d.record_len));
}

bool open_or_create(Table& table, const fs::path& dir, std::string_view file_name, const Layout& layout,
                    std::string alias) {
    fs::path file = resolve_ci(dir, file_name);
    std::error_code ec;
    if (!fs::exists(file, ec) && !create_table(file, layout)) return false;
    return table.open(file, std::move(alias));
}

bool seek_name(Table& table, std::string_view field, std::string_view name) {
    const std::string wanted = to_upper_name(trim(name));
    const int order = table.order();
    table.set_order(0);
    long found = 0;
    for (table.go_top(); !table.eof(); table.skip()) {
        if (to_upper_name(table.trimmed(field)) == wanted) {
            found = table.recno();
            break;
        }
    }
    table.set_order(order);
    table.go_to(found > 0 ? found : table.reccount() + 1);
    return found > 0;
}

void mark_durable(std::string_view file_name) {
    for (const std::string& n : durable_names())
        if (iequals_ascii(n, file_name)) return;
    durable_names().emplace_back(file_name);
}

std::string damage_reason(Damage damage, const std::string& file_name, long declared, long whole) {
    switch (damage) {
        case Damage::Empty:
            return "Die Tabelle " + file_name + " ist leer (0 Byte).";
        case Damage::Header:
            return "Der Tabellenkopf von " + file_name + " ist beschädigt.";
        case Damage::Cut:
            if (declared > 0)
                return "Der letzte Datensatz von " + file_name + " ist abgeschnitten (" +
                       std::to_string(whole) + " von " + std::to_string(declared) +
                       " Datensätzen vollständig).";
            return "Der letzte Datensatz von " + file_name + " ist abgeschnitten.";
        case Damage::Busy:
            return "Die Tabelle " + file_name + " wird gerade benutzt.";
        case Damage::None:
            break;
    }
    return {};
}

Examination examine(const fs::path& file_in) {
    const fs::path file = existing_spelling(file_in);
    Examination e;
    int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0 || ::flock(fd, LOCK_SH | LOCK_NB) != 0) {
        if (fd >= 0) ::close(fd);
        e.damage = Damage::Busy;
        e.reason = damage_reason(e.damage, file_label(file));
        return e;
    }
    // The header and the file's size tell everything; the records are not read.
    struct stat st {};
    std::string head;
    bool read = ::fstat(fd, &st) == 0;
    if (read) {
        head.assign(std::min<size_t>(static_cast<size_t>(st.st_size), 65536), '\0');
        size_t got = 0;
        while (got < head.size()) {
            ssize_t r = ::pread(fd, head.data() + got, head.size() - got, static_cast<off_t>(got));
            if (r < 0 && errno == EINTR) continue;
            if (r <= 0) break;
            got += static_cast<size_t>(r);
        }
        head.resize(got);
    }
    ::flock(fd, LOCK_UN);
    ::close(fd);
    if (!read) {
        e.damage = Damage::Busy;
        e.reason = damage_reason(e.damage, file_label(file));
        return e;
    }
    Header h;
    if (parse_header(reinterpret_cast<const unsigned char*>(head.data()), head.size(), h)) {
        e.damage = st.st_size == 0 ? Damage::Empty : Damage::Header;
        e.reason = damage_reason(e.damage, file_label(file));
        return e;
    }
    const size_t whole = (static_cast<size_t>(st.st_size) - static_cast<size_t>(h.header_len)) /
                         static_cast<size_t>(h.record_len);
    e.declared = static_cast<long>(h.declared);
    e.whole_records = static_cast<long>(std::min<size_t>(whole, h.declared));
    if (whole < h.declared) {
        e.damage = Damage::Cut;
        e.reason = damage_reason(e.damage, file_label(file), e.declared, e.whole_records);
    }
    return e;
}

bool Table::first_check(const void* owner) {
    auto& c = d_->checked;
    if (std::find(c.begin(), c.end(), owner) != c.end()) return false;
    c.push_back(owner);
    return true;
}

bool check_fields(const Table& table, const std::vector<MappedField>& fields) {
    bool all = true;
    const std::string file = table.path().filename().string();
    for (const MappedField& m : fields) {
        Fault f;
        f.gen_code = kGenNoField;
        f.filename = table.path().string();
        f.operation = "FIELDPUT";
        f.args = {m.name};
        f.can_default = true;
        const Field* field = nullptr;
        for (const Field& candidate : table.layout())
            if (iequals_ascii(candidate.name, m.name)) field = &candidate;
        if (!field) {
            f.description = "Das Feld " + m.name + " fehlt in " + file;
        } else {
            const char have = field->type == 'F' ? 'N' : field->type;
            if (have == m.type) continue;
            f.description = "Das Feld " + m.name + " von " + file + " hat den Typ " +
                            std::string(1, field->type) + ", erwartet ist " + std::string(1, m.type);
        }
        all = false;
        report_fault(f);
    }
    return all;
}

void register_fields(const void* owner, std::string table, const std::vector<MappedField>* fields) {
    unregister_fields(owner);
    field_registry().push_back({owner, std::move(table), fields});
}

void unregister_fields(const void* owner) {
    auto& r = field_registry();
    r.erase(std::remove_if(r.begin(), r.end(), [&](const FieldRegistration& x) { return x.owner == owner; }),
            r.end());
}

WriteSeam set_write_seam(WriteSeam s) {
    WriteSeam old = std::move(seam_slot());
    seam_slot() = std::move(s);
    return old;
}

}  // namespace vestral::core::dbf
