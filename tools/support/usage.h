// What a process holds of the system: GDI objects, USER objects, windows and memory. Shared by the
// soak tests, the leak checks and the benchmark.
#pragma once
#include <windows.h>

#include <cstddef>
#include <string>
#include <vector>

namespace usage {

// How a figure was obtained: from the system's own counter or by walking a handle table.
enum class Source { counter, walk };

struct Count {
    unsigned value = 0;
    Source source = Source::counter;
};

// Live GDI objects of this process. GetGuiResources answers 0 on some platforms (Wine): the GDI
// handle table is walked then, asking GetObjectType about every index (Wine accepts a handle given
// by its table index alone).
Count gdiObjects();

// A short description of every live GDI object of this process, by table walk ("bitmap 16x16x32",
// "font 宋体 -12", "brush style 0 colour c0c0c0", "memory DC", "region" ...); empty where the platform
// does not accept a table index as a handle. For telling which objects a count that moved is made of.
std::vector<std::string> gdiTable();
// How the objects of `after` differ from those of `before`, as "+2 bitmap 16x16x32" and
// "-1 font 宋体 -12" lines; an empty string when they match. Compared as kinds, not handles: the
// platform reuses handles all the time.
std::string gdiDifference(const std::vector<std::string>& before, const std::vector<std::string>& after);

// USER objects of this process. Where GetGuiResources answers 0: this process's windows (top-level,
// children and message-only) plus its menus, found by probing the USER handle table with IsMenu.
Count userObjects();

// Every window of this process: top-level, their descendants and message-only windows.
unsigned windows();

struct Memory {
    size_t workingSet = 0;    // bytes in physical memory now
    size_t privateBytes = 0;  // committed private bytes
};
Memory memory();

struct Snapshot {
    Count gdi;
    Count user;
    unsigned windows = 0;
    Memory memory;
};
Snapshot snapshot();

// "GDI 123 (table walk), USER 12 (windows + menus), windows 10, working set 12.3 MB, private 20.1 MB"
std::string describe(const Snapshot& s);
const char* sourceName(Source source, bool user);
inline double megabytes(size_t bytes) { return static_cast<double>(bytes) / (1024.0 * 1024.0); }

}  // namespace usage
