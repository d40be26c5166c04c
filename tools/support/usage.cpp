#include "tools/support/usage.h"

#include <psapi.h>

#include <cstdio>
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

}  // namespace

Count gdiObjects() {
    if (const DWORD counted = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS)) return {counted, Source::counter};
    unsigned live = 0;
    for (ULONG_PTR index = 1; index < 0x10000; ++index)
        if (GetObjectType(reinterpret_cast<HGDIOBJ>(index))) ++live;
    return {live, Source::walk};
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
