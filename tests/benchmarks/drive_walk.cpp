// drive-walk: the cheapest walk of what brisko.exe scans, the baseline of
// tests/benchmarks/wine-scan-benchmark.sh. Every fixed drive from C: to Z:,
// every folder, with FindFirstFileA and FindNextFileA and nothing else;
// prints the files found and the milliseconds the walk took, measured
// inside the process so that starting it costs nothing.
//
//   drive-walk        prints "files N ms M"
#include <windows.h>

#include <cstdio>
#include <cstring>

namespace {

bool isDotEntry(const char* name) { return std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0; }

// Counts the files under a folder given with its trailing backslash.
long long walk(const char* folder) {
    char pattern[MAX_PATH];
    if (std::snprintf(pattern, sizeof pattern, "%s*.*", folder) >= static_cast<int>(sizeof pattern)) return 0;
    WIN32_FIND_DATAA entry;
    HANDLE search = FindFirstFileA(pattern, &entry);
    if (search == INVALID_HANDLE_VALUE) return 0;
    long long files = 0;
    do {
        if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
            ++files;
        } else if (!isDotEntry(entry.cFileName)) {
            char child[MAX_PATH];
            if (std::snprintf(child, sizeof child, "%s%s\\", folder, entry.cFileName) < static_cast<int>(sizeof child)) {
                files += walk(child);
            }
        }
    } while (FindNextFileA(search, &entry));
    FindClose(search);
    return files;
}

}  // namespace

int main() {
    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    long long files = 0;
    char root[] = "C:\\";
    for (char drive = 'C'; drive <= 'Z'; ++drive) {
        root[0] = drive;
        if (GetDriveTypeA(root) == DRIVE_FIXED) files += walk(root);
    }
    QueryPerformanceCounter(&end);
    const long long ms = (end.QuadPart - start.QuadPart) * 1000 / frequency.QuadPart;
    std::printf("files %lld ms %lld\n", files, ms);
    return 0;
}
