#include "commands/launcher.h"

#include "base/host.h"
#include "base/replaceall.h"
#include "base/strutil.h"
#include "commands/defaultapplication.h"
#include "engine/fileobject.h"
#include "engine/filetree.h"
#include "engine/site.h"
#include "settings/settings.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

extern char **environ;

namespace orvane {

namespace {

const char *const DefaultPath = "/usr/local/bin:/usr/bin:/bin";

bool isExecutableFile(const std::string &path)
{
    struct stat st
    {
    };
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) &&
           ::access(path.c_str(), X_OK) == 0;
}

std::string searchPath()
{
    const char *path = std::getenv("PATH");
    return path ? path : DefaultPath;
}

/// argv for exec: argv[0] is the program as the user named it.
std::vector<char *> makeArgv(const std::string &program, const std::vector<std::string> &args)
{
    std::vector<char *> argv;
    argv.reserve(args.size() + 2);
    argv.push_back(const_cast<char *>(program.c_str()));
    for (const std::string &arg : args)
        argv.push_back(const_cast<char *>(arg.c_str()));
    argv.push_back(nullptr);
    return argv;
}

/// Between fork and exec only async-signal-safe calls are allowed: the program
/// may have other threads.
[[noreturn]] void execDetached(const char *exe, char *const argv[], int reportFd)
{
    sigset_t none;
    sigemptyset(&none);
    ::sigprocmask(SIG_SETMASK, &none, nullptr);
    // Ignored signals stay ignored across exec; the program should start with
    // the defaults, not with what this one chose (SIGPIPE, for instance).
    struct sigaction dfl
    {
    };
    dfl.sa_handler = SIG_DFL;
    for (int sig = 1; sig < NSIG; ++sig)
        ::sigaction(sig, &dfl, nullptr);
    ::execve(exe, argv, environ);
    const int error = errno;
    [[maybe_unused]] ssize_t n = ::write(reportFd, &error, sizeof error);
    ::_exit(127);
}

ssize_t readRetrying(int fd, void *buffer, size_t size)
{
    ssize_t n;
    do {
        n = ::read(fd, buffer, size);
    } while (n < 0 && errno == EINTR);
    return n;
}

void waitFor(pid_t pid)
{
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
}

void startOrComplain(Host &host, Launcher &launcher, const std::string &program,
                     const std::vector<std::string> &args)
{
    if (launcher.start(program, args))
        return;
    host.beep(Sound::Beep);
    host.error(
        Tr(QT_TRANSLATE_NOOP("Orvane", "外部アプリケーション\r\n%1\r\nを開けません"), {program}));
}

FileObject *selectedFile(const Site &site)
{
    const TreeNode *node = site.tree.Selected();
    return node && !node->IsRoot() ? node->Data() : nullptr;
}

bool isSet(const std::string &program)
{
    return !TrimControl(program).empty();
}

/// What a desktop does on a double click: the file goes to the application
/// chosen for its type.
void openWithDefaultApplication(Host &host, Launcher &launcher, const BrowserLookup &desktop,
                                const FileObject &file)
{
    const std::string fallbackType = file.Kind == FileKind::html ? "text/html" : "";
    const BrowserCommand command = DefaultApplicationFor(desktop, file.FullPath, fallbackType);
    if (command.empty()) {
        host.beep(Sound::Beep);
        host.error(Tr(NoApplicationMessage));
        return;
    }
    startOrComplain(host, launcher, command.program, command.argumentsFor(file.FullPath));
}

} // namespace

std::string FindProgram(const std::string &program, const std::string &path)
{
    if (program.empty())
        return {};
    if (program.find('/') != std::string::npos)
        return program;
    size_t from = 0;
    while (from <= path.size()) {
        size_t colon = path.find(':', from);
        if (colon == std::string::npos)
            colon = path.size();
        const std::string folder = path.substr(from, colon - from);
        const std::string candidate = (folder.empty() ? "." : folder) + "/" + program;
        if (isExecutableFile(candidate))
            return candidate;
        from = colon + 1;
    }
    return {};
}

bool ProcessLauncher::start(const std::string &program, const std::vector<std::string> &args)
{
    const std::string exe = FindProgram(program, searchPath());
    if (exe.empty())
        return false;
    std::vector<char *> argv = makeArgv(program, args);
    // The program's exec closes the write end; a failed exec writes errno
    // into it first. So an empty read means "started".
    int report[2];
    if (::pipe2(report, O_CLOEXEC) != 0)
        return false;
    const pid_t child = ::fork();
    if (child < 0) {
        ::close(report[0]);
        ::close(report[1]);
        return false;
    }
    if (child == 0) {
        // The middle process leaves at once, so the program is adopted by init
        // and never becomes a zombie of ours.
        ::setsid();
        const pid_t grandchild = ::fork();
        if (grandchild == 0)
            execDetached(exe.c_str(), argv.data(), report[1]);
        if (grandchild < 0) {
            const int error = errno;
            [[maybe_unused]] ssize_t n = ::write(report[1], &error, sizeof error);
        }
        ::_exit(0);
    }
    ::close(report[1]);
    waitFor(child);
    int error = 0;
    const ssize_t n = readRetrying(report[0], &error, sizeof error);
    ::close(report[0]);
    return n == 0;
}

std::string CaptureOutput(const std::vector<std::string> &argv, int timeoutMs)
{
    if (argv.empty())
        return {};
    int out[2];
    if (::pipe2(out, O_CLOEXEC) != 0)
        return {};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawnattr_t attr;
    posix_spawnattr_init(&attr);
    sigset_t all, none;
    sigfillset(&all);
    sigemptyset(&none);
    posix_spawnattr_setsigdefault(&attr, &all);
    posix_spawnattr_setsigmask(&attr, &none);
    posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSIGMASK);
    const std::string &program = argv[0];
    std::vector<std::string> rest(argv.begin() + 1, argv.end());
    std::vector<char *> cargv = makeArgv(program, rest);
    pid_t pid = 0;
    const int rc = ::posix_spawnp(&pid, program.c_str(), &actions, &attr, cargv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attr);
    ::close(out[1]);
    if (rc != 0) {
        ::close(out[0]);
        return {};
    }
    std::string output;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    bool timedOut = false;
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            timedOut = true;
            break;
        }
        pollfd pfd{out[0], POLLIN, 0};
        const int ready = ::poll(&pfd, 1, static_cast<int>(left.count()));
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready <= 0) {
            timedOut = ready == 0;
            break;
        }
        char buffer[4096];
        const ssize_t n = readRetrying(out[0], buffer, sizeof buffer);
        if (n <= 0)
            break;
        output.append(buffer, static_cast<size_t>(n));
    }
    ::close(out[0]);
    if (timedOut)
        ::kill(pid, SIGKILL);
    waitFor(pid);
    return timedOut ? std::string() : output;
}

std::vector<std::string> SplitCommandLine(const std::string &s)
{
    std::vector<std::string> words;
    std::string word;
    bool inWord = false;
    const size_t n = s.size();
    for (size_t i = 0; i < n; ++i) {
        const char c = s[i];
        if (c == ' ' || c == '\t' || c == '\n') {
            if (inWord)
                words.push_back(std::move(word));
            word.clear();
            inWord = false;
        } else if (c == '\\' && i + 1 < n) {
            ++i;
            if (s[i] != '\n') {
                word += s[i];
                inWord = true;
            }
        } else if (c == '\'') {
            inWord = true;
            for (++i; i < n && s[i] != '\''; ++i)
                word += s[i];
        } else if (c == '"') {
            inWord = true;
            for (++i; i < n && s[i] != '"'; ++i) {
                if (s[i] == '\\' && i + 1 < n && std::strchr("$`\"\\\n", s[i + 1])) {
                    ++i;
                    if (s[i] != '\n')
                        word += s[i];
                } else {
                    word += s[i];
                }
            }
        } else {
            word += c;
            inWord = true;
        }
    }
    if (inWord)
        words.push_back(std::move(word));
    return words;
}

std::string TagJumpLine(const std::string &caption)
{
    return TrimControl(std::string_view(caption).substr(0, caption.find(':')));
}

// The template is split into words before the path goes in, so that the path
// always stays inside one word, whatever blanks or quotes the file's name holds:
// a page named "a.html -c !cmd" or "x' --eval '(...)" from a downloaded site
// must never become options of the editor.
std::vector<std::string> EditorArguments(const std::string &commandLineOption,
                                         const std::string &fullPath)
{
    std::vector<std::string> words = SplitCommandLine(commandLineOption);
    for (std::string &word : words)
        word = ReplaceAll(word, "%F", fullPath);
    return words;
}

std::vector<std::string> TagJumpArguments(const std::string &tagJumpCommandLineOption,
                                          const std::string &line, const std::string &fullPath)
{
    std::vector<std::string> words = SplitCommandLine(tagJumpCommandLineOption);
    // "%N" first, so a "%N" inside the path stays as it is.
    for (std::string &word : words)
        word = ReplaceAll(ReplaceAll(word, "%N", line), "%F", fullPath);
    return words;
}

void OpenWithExternalAppClick(Site &site, Launcher &launcher, const BrowserLookup &desktop)
{
    Host &host = site.host();
    const FileObject *file = selectedFile(site);
    if (!file || file->Kind == FileKind::other) {
        host.beep(Sound::Beep);
        return;
    }
    const Settings &settings = site.settings();
    const std::string &program =
        file->Kind == FileKind::html ? settings.ExternalEditor : settings.ExternalViewer;
    if (!isSet(program)) {
        openWithDefaultApplication(host, launcher, desktop, *file);
    } else if (file->Kind == FileKind::html) {
        startOrComplain(host, launcher, program,
                        EditorArguments(settings.CommandLineOption, file->FullPath));
    } else {
        // The viewer gets the path as one argument: no template applies, and
        // a path with blanks or quotes must arrive whole.
        startOrComplain(host, launcher, program, {file->FullPath});
    }
}

void TagJumpClick(Site &site, Launcher &launcher, const BrowserLookup &desktop,
                  const std::string &caption)
{
    const FileObject *file = selectedFile(site);
    if (!file) {
        site.host().beep(Sound::Beep);
        return;
    }
    const Settings &settings = site.settings();
    if (!isSet(settings.ExternalEditor)) {
        site.host().setStatus(Tr(TagJumpNeedsEditorStatus));
        openWithDefaultApplication(site.host(), launcher, desktop, *file);
        return;
    }
    startOrComplain(
        site.host(), launcher, settings.ExternalEditor,
        TagJumpArguments(settings.TagJumpCommandLineOption, TagJumpLine(caption), file->FullPath));
}

} // namespace orvane
