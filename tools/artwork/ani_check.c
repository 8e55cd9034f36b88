/* Loads animated cursor files the way the status monitor loads its status animations
 * (CreateIconFromResource on the whole file, as a cursor, format version 0x00030000) and
 * prints what the system reports about each: frame steps and display rate.
 *
 *   i686-w64-mingw32-gcc -O2 -o ani_check.exe ani_check.c -luser32 -lgdi32
 *   wine ani_check.exe error.ani info.ani
 *
 * Exit code 0 when every file gives an animated cursor of 2 steps at 12 jiffies. */
#include <windows.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

typedef HCURSOR(WINAPI* GetCursorFrameInfoFn)(HCURSOR, DWORD, DWORD, DWORD*, DWORD*);

int main(int argc, char** argv)
{
    GetCursorFrameInfoFn frameInfo =
        (GetCursorFrameInfoFn)(void*)GetProcAddress(GetModuleHandleA("user32.dll"),
                                                    "GetCursorFrameInfo");
    int failures = 0;
    int i;
    if (!frameInfo) {
        printf("GetCursorFrameInfo not available\n");
        return 2;
    }
    for (i = 1; i < argc; ++i) {
        FILE* f = fopen(argv[i], "rb");
        long size;
        BYTE* data;
        HICON cursor;
        DWORD rate = 0, steps = 0;
        ICONINFO info;
        if (!f) {
            printf("%s: cannot open\n", argv[i]);
            ++failures;
            continue;
        }
        fseek(f, 0, SEEK_END);
        size = ftell(f);
        fseek(f, 0, SEEK_SET);
        data = (BYTE*)malloc(size);
        if (fread(data, 1, size, f) != (size_t)size) {
            printf("%s: short read\n", argv[i]);
            ++failures;
            fclose(f);
            free(data);
            continue;
        }
        fclose(f);
        cursor = CreateIconFromResource(data, (DWORD)size, FALSE, 0x00030000);
        if (!cursor) {
            printf("%s: CreateIconFromResource failed, error %lu\n", argv[i], GetLastError());
            ++failures;
            free(data);
            continue;
        }
        frameInfo(cursor, 0, 0, &rate, &steps);
        memset(&info, 0, sizeof info);
        GetIconInfo(cursor, &info);
        printf("%s: steps %lu, rate %lu jiffies, hot spot (%lu,%lu), %s\n", argv[i], steps, rate,
               info.xHotspot, info.yHotspot, info.fIcon ? "icon" : "cursor");
        if (steps != 2 || rate != 12 || info.fIcon || info.xHotspot || info.yHotspot)
            ++failures;
        if (info.hbmMask)
            DeleteObject(info.hbmMask);
        if (info.hbmColor)
            DeleteObject(info.hbmColor);
        DestroyCursor(cursor);
        free(data);
    }
    return failures ? 1 : 0;
}
