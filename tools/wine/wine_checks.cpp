// Direct checks of the real Zavrik.dll on a real PE loader, where a scenario does not fit:
// the exports found by name, the identity bytes, the stack balance of every function that
// crosses the boundary, and a real modal MessageBoxA that delivers ticks.
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <windows.h>

#include <string>

#include "host/host_services.h"
#include "tools/fakehost/fake_host.h"
#include "tools/loader/import_patch.h"
#include "tools/loader/plugin_loader.h"

namespace {

static_assert(sizeof(void*) == 4, "the checks are of the 32-bit DLL, as it ships");

int passed;
int failed;

void Report(bool ok, const char* name, const std::string& detail = "")
{
    printf("%s %s%s%s\n", ok ? "ok    " : "FAILED", name, detail.empty() ? "" : ": ", detail.c_str());
    (ok ? passed : failed) += 1;
}

std::string Cp932(const wchar_t* text)
{
    char bytes[256];
    const int n = WideCharToMultiByte(932, 0, text, -1, bytes, sizeof bytes, nullptr, nullptr);
    return n > 0 ? std::string(bytes, static_cast<size_t>(n - 1)) : std::string("?");
}

bool Load(PluginLibrary* plugin)
{
    char error[256];
    if (!LoadPlugin("Zavrik.dll", plugin, error, sizeof error)) {
        Report(false, "load", error);
        return false;
    }
    return true;
}

// ---- loading, exports and identity ----

// Windows calls DllMain on loading; a FALSE from it makes LoadLibrary fail (error 1114).
void CheckLoad()
{
    char error[256];
    PluginLibrary plugin;
    const bool loaded = LoadPlugin("Zavrik.dll", &plugin, error, sizeof error);
    Report(loaded, "LoadLibrary loads Zavrik.dll: its DllMain returns TRUE", loaded ? "" : error);
    UnloadPlugin(&plugin);
}

void CheckExports()
{
    PluginLibrary plugin;
    if (!Load(&plugin)) {
        return;
    }
    HMODULE module = static_cast<HMODULE>(plugin.module);
    const bool undecoratedOnly = GetProcAddress(module, "GetPluginInfo@12") == nullptr &&
                                 GetProcAddress(module, "_GetPluginInfo@12") == nullptr &&
                                 GetProcAddress(module, "DllMain") == nullptr;
    Report(undecoratedOnly, "the three exports are found by undecorated name, nothing else is exported by name");

    const wchar_t* const rows[7] = {
        L"0.2.3", L"AddIn/Zavrik", L"Zavrik", L"コンピュータがロックされている時に退席中にするプラグイン", L"Brovane",
        L"Copyright (C) 2026 Brovane", L"0.1.0",
    };
    std::string wrong;
    for (int i = 0; i < 7; ++i) {
        char buffer[256];
        memset(buffer, 0x7E, sizeof buffer);
        const int32_t length = plugin.getPluginInfo(i, buffer, sizeof buffer);
        const std::string expected = Cp932(rows[i]);
        if (length != static_cast<int32_t>(expected.size()) || expected != buffer) {
            wrong += " row " + std::to_string(i);
        }
    }
    char cut[4];
    const bool cutRight = plugin.getPluginInfo(1, cut, 4) == 3 && strcmp(cut, "Add") == 0;
    Report(wrong.empty() && cutRight, "identity strings are their code-page-932 bytes, cut and terminated", wrong);
    UnloadPlugin(&plugin);
}

// ---- a host of the smallest kind, for calling into the plug-in directly ----

TIMERPROC pollProc;
UINT askedPeriod;
bool desktopLocked;
int probes;

int boxes;
ServiceHandler optionHandler;
ConnectionCallback enumCallback;

int32_t ZAVRIK_CALL MiniRegister(const char*, ServiceHandler handler)
{
    optionHandler = handler;
    return 0;
}

ServiceHandle ZAVRIK_CALL MiniGetService(const char* name)
{
    // Only the System/ services exist here: a protocol's service is always missing.
    return strncmp(name, "System/", 7) == 0 ? reinterpret_cast<ServiceHandle>(static_cast<uintptr_t>(name[18])) : nullptr;
}

int32_t ZAVRIK_CALL MiniCall(ServiceHandle service, intptr_t first, intptr_t)
{
    if (reinterpret_cast<uintptr_t>(service) == 'E') {  // System/Connection/Enum
        enumCallback = reinterpret_cast<ConnectionCallback>(first);
    }
    return 0;
}

EventHandle ZAVRIK_CALL MiniGetEvent(const char*)
{
    return nullptr;
}

HDESK WINAPI HookOpenDesktop(LPCSTR, DWORD, BOOL, ACCESS_MASK)
{
    ++probes;
    return reinterpret_cast<HDESK>(static_cast<uintptr_t>(0x40));
}

BOOL WINAPI HookSwitchDesktop(HDESK)
{
    return desktopLocked ? FALSE : TRUE;
}

BOOL WINAPI HookCloseDesktop(HDESK)
{
    return TRUE;
}

// Loads the DLL with a desktop that is locked or not as `desktopLocked` says, and the given
// timer and message box calls in place of USER32's.
bool LoadWithHooks(PluginLibrary* plugin, const char* check, void* setTimer, void* killTimer, void* messageBox)
{
    if (!Load(plugin)) {
        return false;
    }
    const ImportHook hooks[] = {
        {"OpenDesktopA", reinterpret_cast<void*>(&HookOpenDesktop)},
        {"SwitchDesktop", reinterpret_cast<void*>(&HookSwitchDesktop)},
        {"CloseDesktop", reinterpret_cast<void*>(&HookCloseDesktop)},
        {"SetTimer", setTimer},
        {"KillTimer", killTimer},
        {"MessageBoxA", messageBox},
    };
    char error[256];
    if (!PatchImports(plugin->module, "USER32.dll", hooks, 6, error, sizeof error)) {
        Report(false, check, error);
        UnloadPlugin(plugin);
        return false;
    }
    return true;
}

int WINAPI HookQuietBox(HWND, LPCSTR, LPCSTR, UINT)
{
    ++boxes;
    return IDOK;
}

UINT_PTR WINAPI HookCaptureTimer(HWND, UINT_PTR, UINT period, TIMERPROC proc)
{
    pollProc = proc;
    askedPeriod = period;
    return 0x51;
}

BOOL WINAPI HookKillCapturedTimer(HWND, UINT_PTR)
{
    return TRUE;
}

// Calls `function` with `count` 32-bit arguments pushed right to left, and returns how many
// bytes of them the callee left on the stack: 0 for __stdcall, which pops its own.
extern "C" uint32_t CallAndMeasure(const void* function, const uint32_t* args, uint32_t count, uint32_t* result);
asm(R"(
    .text
    .globl _CallAndMeasure
_CallAndMeasure:
    pushl %ebp
    movl %esp, %ebp
    pushl %ebx
    pushl %esi
    pushl %edi
    movl 12(%ebp), %esi
    movl 16(%ebp), %ecx
    movl %esp, %edi
1:  testl %ecx, %ecx
    jz 2f
    decl %ecx
    pushl (%esi,%ecx,4)
    jmp 1b
2:  movl 8(%ebp), %eax
    call *%eax
    movl 20(%ebp), %ecx
    movl %eax, (%ecx)
    movl %edi, %eax
    subl %esp, %eax
    movl %edi, %esp
    popl %edi
    popl %esi
    popl %ebx
    popl %ebp
    ret
)");

void CheckStackBalance()
{
    PluginLibrary plugin;
    if (!LoadWithHooks(&plugin, "stack balance", reinterpret_cast<void*>(&HookCaptureTimer),
                       reinterpret_cast<void*>(&HookKillCapturedTimer), reinterpret_cast<void*>(&HookQuietBox))) {
        return;
    }
    HostServices record = {nullptr, MiniRegister, MiniGetService, MiniCall, nullptr, MiniGetEvent, nullptr, nullptr, nullptr};
    char buffer[100];
    uint32_t result = 0;
    std::string unbalanced;
    auto measure = [&](const char* name, const void* function, std::initializer_list<uint32_t> args) {
        const uint32_t left = CallAndMeasure(function, args.begin(), static_cast<uint32_t>(args.size()), &result);
        if (left != 0) {
            unbalanced += std::string(" ") + name + " left " + std::to_string(left) + " bytes";
        }
    };
    measure("GetPluginInfo", reinterpret_cast<const void*>(plugin.getPluginInfo),
            {2, static_cast<uint32_t>(reinterpret_cast<uintptr_t>(buffer)), sizeof buffer});
    measure("Initialize", reinterpret_cast<const void*>(plugin.initialize),
            {static_cast<uint32_t>(reinterpret_cast<uintptr_t>(&record))});
    const bool started = result == 0 && optionHandler != nullptr && pollProc != nullptr && askedPeriod == 10000;
    if (started) {
        measure("OnShowOptionDialog", reinterpret_cast<const void*>(optionHandler), {0, 0});
        desktopLocked = true;
        measure("OnPollTimer", reinterpret_cast<const void*>(pollProc), {0, WM_TIMER, 0x51, 0});
        if (enumCallback != nullptr) {
            measure("ApplyStatusToConnection", reinterpret_cast<const void*>(enumCallback), {0xC0, 0});
        }
    }
    measure("Terminate", reinterpret_cast<const void*>(plugin.terminate), {});
    Report(started && enumCallback != nullptr && boxes == 2 && unbalanced.empty(),
           "every export and callback pops its own arguments (__stdcall)", unbalanced);
    UnloadPlugin(&plugin);
}

// ---- a real modal MessageBoxA ----

// The plug-in's timer runs on a real thread timer with a short period; every tick goes
// through this procedure, dispatched by a real message loop.
UINT_PTR realTimer;
int tickDepth;
int maxTickDepth;
int ticksInsideBox;
bool boxOpen;
int boxResult = -1;
bool switchDone;
HWND boxWindow;
int probesWhenBoxOpened;

BOOL CALLBACK FindZavrikBox(HWND window, LPARAM found)
{
    char className[16];
    char caption[16];
    if (GetClassNameA(window, className, sizeof className) > 0 && strcmp(className, "#32770") == 0 &&
        GetWindowTextA(window, caption, sizeof caption) > 0 && strcmp(caption, "Zavrik") == 0) {
        *reinterpret_cast<HWND*>(found) = window;
        return FALSE;
    }
    return TRUE;
}

void CALLBACK BoxTick(HWND window, UINT message, UINT_PTR, DWORD time)
{
    ++tickDepth;
    maxTickDepth = tickDepth > maxTickDepth ? tickDepth : maxTickDepth;
    if (boxOpen) {
        ++ticksInsideBox;
        if (ticksInsideBox == 5) {
            // The user, back at the screen, presses OK on this thread's box (other tests may
            // show boxes of the same caption meanwhile).
            EnumThreadWindows(GetCurrentThreadId(), FindZavrikBox, reinterpret_cast<LPARAM>(&boxWindow));
            if (boxWindow != nullptr) {
                PostMessageA(boxWindow, WM_COMMAND, IDOK, 0);
            }
        }
    }
    pollProc(window, message, 0x51, time);
    --tickDepth;
    for (const std::string& line : TraceTexts(TraceHost)) {
        switchDone = switchDone || line == "Enum end";
    }
}

UINT_PTR WINAPI HookRealTimer(HWND, UINT_PTR, UINT period, TIMERPROC proc)
{
    pollProc = proc;
    askedPeriod = period;
    realTimer = SetTimer(nullptr, 0, USER_TIMER_MINIMUM, BoxTick);
    return 0x51;
}

BOOL WINAPI HookKillRealTimer(HWND, UINT_PTR)
{
    return KillTimer(nullptr, realTimer);
}

int WINAPI HookRealBox(HWND owner, LPCSTR text, LPCSTR caption, UINT style)
{
    boxOpen = true;
    probesWhenBoxOpened = probes;
    const int result = MessageBoxA(owner, text, caption, style);
    boxOpen = false;
    boxResult = result;
    TraceAdd(TraceBox, "real box returned " + std::to_string(result));
    return result;
}

void CALLBACK GiveUp(HWND, UINT, UINT_PTR, DWORD)
{
    PostQuitMessage(1);
}

void CheckRealModalBox()
{
    PluginLibrary plugin;
    if (!LoadWithHooks(&plugin, "real modal box", reinterpret_cast<void*>(&HookRealTimer),
                       reinterpret_cast<void*>(&HookKillRealTimer), reinterpret_cast<void*>(&HookRealBox))) {
        return;
    }
    FakeHostReset();
    FakeConnectionSetup legacy;
    legacy.name = "legacy";
    legacy.protocol = "irc";
    legacy.hasService = false;
    FakeHostAddConnection(legacy);
    FakeConnectionSetup work;
    work.name = "work";
    work.protocol = "jabber";
    FakeHostAddConnection(work);
    HostServices record = FakeHostRecord();

    probes = 0;
    desktopLocked = true;
    const UINT_PTR watchdog = SetTimer(nullptr, 0, 30000, GiveUp);
    if (plugin.initialize(&record) != 0) {
        Report(false, "real modal box", "Initialize failed");
        return;
    }
    MSG message;
    while (!switchDone && GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    KillTimer(nullptr, watchdog);
    plugin.terminate();

    bool workSwitched = false;
    bool boxReturnedOk = false;
    for (const std::string& line : TraceTexts(TraceHost | TraceBox)) {
        workSwitched = workSwitched || line == "SetInfo work item 1002 = 5";
        boxReturnedOk = boxReturnedOk || line == "real box returned 1";
    }
    const std::string detail = "box returned " + std::to_string(boxResult) + ", box window " + std::string(boxWindow != nullptr ? "found" : "not found") + ", " +
                               std::to_string(ticksInsideBox) + " ticks inside it, deepest nesting " +
                               std::to_string(maxTickDepth) + ", probes inside it " +
                               std::to_string(probes - probesWhenBoxOpened);
    Report(switchDone && workSwitched && boxReturnedOk && ticksInsideBox >= 5 && maxTickDepth == 2 &&
               probes == probesWhenBoxOpened,
           "a real MessageBoxA's modal loop delivers ticks, which return at once until the box is closed", detail);
    UnloadPlugin(&plugin);
}

// ---- live mode ----

struct BoxSearch {
    DWORD process;
    HWND box;
};

BOOL CALLBACK FindBoxOfProcess(HWND window, LPARAM context)
{
    BoxSearch& search = *reinterpret_cast<BoxSearch*>(context);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    char className[16];
    if (process == search.process && IsWindowVisible(window) && GetClassNameA(window, className, sizeof className) > 0 &&
        strcmp(className, "#32770") == 0) {
        search.box = window;
        return FALSE;
    }
    return TRUE;
}

int CountLines(const std::string& text, const std::string& part)
{
    int count = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
        ++count;
    }
    return count;
}

// zavrik-sim.exe --live plays the scenario ZAVRIK_LIVE_SCENARIO names with the real DLL and
// nothing hooked, for two periods of its real timer; this check is the user, who closes the
// option dialog's real box when it shows.
void CheckLive()
{
    const char* name = "live mode: two real ticks find the desktop unlocked and call nothing, no handle is left "
                       "open, the option dialog's real box is closed by the user";
    const char* scenario = getenv("ZAVRIK_LIVE_SCENARIO");
    if (scenario == nullptr) {
        Report(false, name, "ZAVRIK_LIVE_SCENARIO does not name a scenario");
        return;
    }
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    HANDLE output = CreateFileA("live-output.txt", GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS, 0, nullptr);
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = output;
    startup.hStdError = output;
    PROCESS_INFORMATION process = {};
    std::string command = std::string("zavrik-sim.exe --color=never --live \"") + scenario + "\"";
    const bool started = CreateProcessA(nullptr, &command[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup,
                                        &process) != FALSE;
    CloseHandle(output);
    if (!started) {
        Report(false, name, "cannot start zavrik-sim.exe: error " + std::to_string(GetLastError()));
        return;
    }
    bool boxClosed = false;
    bool timedOut = false;
    const DWORD start = GetTickCount();
    while (WaitForSingleObject(process.hProcess, 100) == WAIT_TIMEOUT) {
        if (GetTickCount() - start > 60000) {
            TerminateProcess(process.hProcess, 1);
            timedOut = true;
            break;
        }
        BoxSearch search = {process.dwProcessId, nullptr};
        EnumWindows(FindBoxOfProcess, reinterpret_cast<LPARAM>(&search));
        if (!boxClosed && search.box != nullptr) {
            PostMessageA(search.box, WM_COMMAND, IDOK, 0);
            boxClosed = true;
        }
    }
    DWORD exitCode = 1;
    GetExitCodeProcess(process.hProcess, &exitCode);
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);

    std::string text;
    FILE* file = fopen("live-output.txt", "rb");
    char chunk[4096];
    size_t n = 0;
    while (file != nullptr && (n = fread(chunk, 1, sizeof chunk, file)) > 0) {
        text.append(chunk, n);
    }
    if (file != nullptr) {
        fclose(file);
    }
    const int quietUnlockedTicks = CountLines(text, "tick     unlocked, no change\n");
    const bool ok = !timedOut && exitCode == 0 && boxClosed && quietUnlockedTicks == 2 &&
                    CountLines(text, "host     Enum") == 0 &&
                    CountLines(text, "plug-in  AddIn/Zavrik/ShowOptionDialog -> 0\n") == 1 &&
                    CountLines(text, "summary (live): 0 transitions, 6 host calls, 2 ticks through the host's loop, 0 "
                                     "ticks left a handle open, 0 faults\n") == 1;
    Report(ok, name,
           ok ? "" : "exit status " + std::to_string(exitCode) + (timedOut ? " (still running after 60 s)" : "") +
                         ", box " + (boxClosed ? "closed" : "never seen") + ", " + std::to_string(quietUnlockedTicks) +
                         " quiet unlocked ticks; its output:\n" + text);
}

struct Check {
    const char* name;
    void (*run)();
};

const Check Checks[] = {
    {"load", CheckLoad},
    {"exports", CheckExports},
    {"stack_balance", CheckStackBalance},
    {"modal_box", CheckRealModalBox},
    {"live", CheckLive},
};

}  // namespace

// wine_checks [CHECK...]: runs the named checks (all when none is named), printing a line for
// each; exits non-zero when one failed or a name is unknown.
int main(int argc, char** argv)
{
    for (const Check& check : Checks) {
        bool wanted = argc == 1;
        for (int i = 1; i < argc; ++i) {
            wanted = wanted || strcmp(argv[i], check.name) == 0;
        }
        if (wanted) {
            check.run();
        }
    }
    for (int i = 1; i < argc; ++i) {
        bool known = false;
        for (const Check& check : Checks) {
            known = known || strcmp(argv[i], check.name) == 0;
        }
        if (!known) {
            Report(false, argv[i], "no such check");
        }
    }
    return failed == 0 && passed > 0 ? 0 : 1;
}
