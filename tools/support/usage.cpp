#include "tools/support/usage.h"

#include <psapi.h>

#include <cstdio>
#include <map>
#include <vector>

namespace usage {

namespace {

// USER handles are an even index from 0x20 up in their low word; a handle with a zero high word
// matches the entry whatever its generation.
constexpr ULONG_PTR firstUserHandle = 0x20;

void addDescendants(HWND parent, std::vector<HWND>& found) {
    EnumChildWindows(
        parent,
        [](HWND w, LPARAM p) -> BOOL {
            reinterpret_cast<std::vector<HWND>*>(p)->push_back(w);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
}

std::string describeObject(HGDIOBJ object, DWORD type) {
    char text[160];
    switch (type) {
    case OBJ_BITMAP: {
        BITMAP b{};
        GetObjectA(object, sizeof(b), &b);
        std::snprintf(text, sizeof(text), "bitmap %ldx%ldx%u", b.bmWidth, b.bmHeight, b.bmBitsPixel);
        return text;
    }
    case OBJ_FONT: {
        LOGFONTA f{};
        GetObjectA(object, sizeof(f), &f);
        std::snprintf(text, sizeof(text), "font %s %ld", f.lfFaceName, f.lfHeight);
        return text;
    }
    case OBJ_BRUSH: {
        LOGBRUSH b{};
        GetObjectA(object, sizeof(b), &b);
        std::snprintf(text, sizeof(text), "brush style %u colour %06lx", b.lbStyle, static_cast<unsigned long>(b.lbColor));
        return text;
    }
    case OBJ_PEN: return "pen";
    case OBJ_EXTPEN: return "extended pen";
    case OBJ_DC: return "DC";
    case OBJ_MEMDC: return "memory DC";
    case OBJ_METADC: return "metafile DC";
    case OBJ_ENHMETADC: return "enhanced metafile DC";
    case OBJ_PAL: return "palette";
    case OBJ_REGION: return "region";  // its extent changes with every paint: not worth telling
    case OBJ_METAFILE: return "metafile";
    case OBJ_ENHMETAFILE: return "enhanced metafile";
    case OBJ_COLORSPACE: return "colour space";
    default: std::snprintf(text, sizeof(text), "object of type %lu", static_cast<unsigned long>(type)); return text;
    }
}

}  // namespace

Count gdiObjects() {
    if (const DWORD counted = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS)) return {counted, Source::counter};
    unsigned live = 0;
    for (ULONG_PTR index = 1; index < 0x10000; ++index)
        if (GetObjectType(reinterpret_cast<HGDIOBJ>(index))) ++live;
    return {live, Source::walk};
}

std::vector<std::string> gdiTable() {
    std::vector<std::string> found;
    for (ULONG_PTR index = 1; index < 0x10000; ++index) {
        const HGDIOBJ object = reinterpret_cast<HGDIOBJ>(index);
        if (const DWORD type = GetObjectType(object)) found.push_back(describeObject(object, type));
    }
    return found;
}

std::string gdiDifference(const std::vector<std::string>& before, const std::vector<std::string>& after) {
    std::map<std::string, int> change;
    for (const std::string& what : before) --change[what];
    for (const std::string& what : after) ++change[what];
    std::string lines;
    char head[16];
    for (const auto& [what, n] : change)
        if (n != 0) {
            std::snprintf(head, sizeof(head), "%+d ", n);
            lines += head + what + "\n";
        }
    return lines;
}

unsigned windows() {
    const DWORD self = GetCurrentProcessId();
    std::vector<HWND> tops;
    EnumWindows(
        [](HWND w, LPARAM p) -> BOOL {
            DWORD pid = 0;
            GetWindowThreadProcessId(w, &pid);
            if (pid == GetCurrentProcessId()) reinterpret_cast<std::vector<HWND>*>(p)->push_back(w);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&tops));
    for (HWND w = FindWindowExA(HWND_MESSAGE, nullptr, nullptr, nullptr); w;
         w = FindWindowExA(HWND_MESSAGE, w, nullptr, nullptr)) {
        DWORD pid = 0;
        GetWindowThreadProcessId(w, &pid);
        if (pid == self) tops.push_back(w);
    }
    std::vector<HWND> all = tops;
    for (HWND top : tops) addDescendants(top, all);
    return static_cast<unsigned>(all.size());
}

Count userObjects() {
    if (const DWORD counted = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS)) return {counted, Source::counter};
    unsigned menus = 0;
    for (ULONG_PTR handle = firstUserHandle; handle < 0x10000; handle += 2)
        if (IsMenu(reinterpret_cast<HMENU>(handle))) ++menus;
    return {windows() + menus, Source::walk};
}

Memory memory() {
    PROCESS_MEMORY_COUNTERS_EX counters{};
    counters.cb = sizeof(counters);
    Memory m;
    if (GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                             sizeof(counters))) {
        m.workingSet = counters.WorkingSetSize;
        m.privateBytes = counters.PrivateUsage ? counters.PrivateUsage : counters.PagefileUsage;
    }
    return m;
}

Snapshot snapshot() {
    Snapshot s;
    s.gdi = gdiObjects();
    s.user = userObjects();
    s.windows = windows();
    s.memory = memory();
    return s;
}

const char* sourceName(Source source, bool user) {
    if (source == Source::counter) return "GetGuiResources";
    return user ? "windows + menus by handle probe" : "GDI handle table walk";
}

std::string describe(const Snapshot& s) {
    char line[256];
    std::snprintf(line, sizeof(line), "GDI %u (%s), USER %u (%s), windows %u, working set %.1f MB, private %.1f MB",
                  s.gdi.value, sourceName(s.gdi.source, false), s.user.value, sourceName(s.user.source, true),
                  s.windows, megabytes(s.memory.workingSet), megabytes(s.memory.privateBytes));
    return line;
}

}  // namespace usage
