// Every system call of every flow made to fail in turn, with strace's fault
// injection: each flow is traced once to count its calls, then run again
// and again with one occurrence of one call failing (ENOSPC, EIO, EACCES,
// EINTR where a signal can interrupt the call, EAGAIN where it can be
// asked to wait) or killed there. Whatever fails, a run either succeeds
// with everything right, or ends with a non-zero status and one "Error: "
// line, every earlier record intact and nothing of its own left behind; an
// interrupted call is retried, never reported; no run waits for what
// cannot come.
//
// By default every point gets one errno, the three taken in turn, EINTR and
// EAGAIN where they apply (EAGAIN at every other point) and a kill; in git's
// flows, where each run is git's whole run, a point gets one of them in
// turn. VARN_FAULT_SWEEP=full tries every failure at every point,
// VARN_FAULT_SWEEP=off skips the sweep.

#include <algorithm>
#include <filesystem>
#include <functional>
#include <map>
#include <set>

#include <gmock/gmock.h>

#include "shared/DiffToolMetaData.hpp"
#include "shared/SessionKey.hpp"
#include "tests/support/EndToEnd.hpp"

using namespace testsupport;
using VarnShared::DiffToolMetaData;
namespace fs = std::filesystem;

namespace {

const std::string strace = "/usr/bin/strace";

/// What the C library does for itself (start-up, memory): its failures
/// end in the runtime's abort, not in the tool's hands.
const std::set<std::string> runtimeCalls = {
    "arch_prctl", "brk",       "execve", "exit_group",   "madvise",         "mmap",           "mprotect", "mremap",
    "munmap",     "prlimit64", "rseq",   "rt_sigreturn", "set_robust_list", "set_tid_address"};
/// Calls a signal can interrupt: EINTR from them must be retried.
const std::set<std::string> interruptible = {"read", "write", "writev", "openat", "open",      "wait4",
                                             "poll", "ppoll", "flock",  "close",  "nanosleep", "clock_nanosleep"};
/// Calls that may answer EAGAIN: asked to wait, or short of a resource.
const std::set<std::string> mayWait = {"read", "write", "writev", "clone", "clone3", "flock", "getrandom"};

/// How one run of the tool ended.
struct Ran {
    bool timedOut = false;
    bool killed = false;
    int status = 0;
    std::string errorOutput;
};

/// One flow: what it starts from, how it runs, and what must hold after.
struct Flow {
    /// Lays out what every run starts from.
    std::function<void()> prepare;
    /// Runs the flow with the tool under strace with `options`.
    std::function<Ran(const std::string& options)> run;
    /// What is wrong after a run that ended with 0; empty when all is right.
    std::function<std::string()> succeeded;
    /// What is wrong after any run, `ran`: records and what they name,
    /// litter; empty when all is right.
    std::function<std::string(const Ran& ran)> intact;
};

class FaultSweep : public EndToEnd {
protected:
    void SetUp() override {
        EndToEnd::SetUp();
        if (IsSkipped()) return;
#ifdef VARN_SANITIZED
        GTEST_SKIP() << "a sanitizer's runtime makes system calls of its own";
#endif
        const char* sweepMode = std::getenv("VARN_FAULT_SWEEP");
        std::string mode = sweepMode ? sweepMode : "";
        if (mode == "off") GTEST_SKIP() << "VARN_FAULT_SWEEP=off";
        full = mode == "full";
        if (!fs::exists(strace)) GTEST_SKIP() << strace << " is not installed";
        // The application: notes the target, and passes a merge on to the
        // stand-in, whose complaints about a hand-off the tool gave up are
        // not the tool's.
        tmp.writeFile("bin/xdg-open",
                      "#!/bin/sh\nexec 2>/dev/null\nprintf '%s\\n' \"$1\" >> '" + handed +
                          "/targets'\n[ -z \"$VARNEL_STUB_MERGE\" ] || exec '" + stubProgram + "' \"$1\"\n",
                      true);
        // The varn git runs: the real one under strace, its status and
        // standard error kept.
        tmp.writeFile("bin/varn",
                      "#!/bin/sh\n" + strace + " $VARN_STRACE " + varnProgram + " \"$@\" 2>>'" + tmp / "varn.err" +
                          "'\nstatus=$?\necho $status >> '" + tmp / "varn.status" + "'\nexit $status\n",
                      true);
    }

    /// varn `arguments` in the repository under strace `options`.
    Ran runVarn(const std::vector<std::string>& arguments, const std::string& options,
                const EnvironmentChanges& more = {}) const {
        auto words = split(options);
        words.push_back(varnProgram);
        words.insert(words.end(), arguments.begin(), arguments.end());
        return ended(start(strace, words, root, environment(more)));
    }

    /// git `arguments` in the repository, its varn under strace `options`;
    /// how the one varn it ran ended.
    Ran runGit(const std::vector<std::string>& arguments, const std::string& options,
               const EnvironmentChanges& more = {}) const {
        fs::remove(tmp / "varn.err");
        fs::remove(tmp / "varn.status");
        auto changes = more;
        changes.emplace("VARN_STRACE", options);
        auto process = start("/usr/bin/git", arguments, root, environment(changes), true);
        auto gitRan = ended(std::move(process));
        Ran ran{.timedOut = gitRan.timedOut, .errorOutput = readFile(tmp / "varn.err")};
        auto statuses = lines(readFile(tmp / "varn.status"));
        if (statuses.size() != 1) {
            ran.timedOut = ran.timedOut || statuses.empty();
            ran.errorOutput += "<git ran varn " + std::to_string(statuses.size()) + " times>";
            return ran;
        }
        ran.status = std::stoi(statuses[0]);
        // strace ends as the program it ran did: killed, as killed.
        ran.killed = ran.status == 128 + SIGKILL;
        return ran;
    }

    /// Sweeps `flow`; every point that does not hold fails the test, and
    /// the tally is printed.
    void sweep(const std::string& name, const Flow& flow, bool throughGit = false) const {
        flow.prepare();
        auto traced = flow.run("-qq -o " + tmp / "trace");
        ASSERT_FALSE(traced.timedOut || traced.killed || traced.status != 0) << traced.errorOutput;
        ASSERT_EQ(flow.succeeded(), "");
        std::map<std::string, int> calls;
        for (const auto& line : lines(readFile(tmp / "trace")))
            if (auto open = line.find('('); open != std::string::npos && open > 0) ++calls[line.substr(0, open)];
        ASSERT_FALSE(calls.empty()) << "strace traced nothing";

        int points = 0, runs = 0, held = 0;
        for (const auto& [call, count] : calls) {
            if (runtimeCalls.contains(call)) continue;
            for (int occurrence = 1; occurrence <= count; ++occurrence, ++points) {
                for (const auto& fault : faultsAt(call, points, throughGit)) {
                    flow.prepare();
                    std::string what = fault == "KILL" ? "signal=KILL" : "error=" + fault;
                    auto ran = flow.run("-qq -o /dev/null -e trace=" + call + " -e inject=" + call + ":" + what +
                                        ":when=" + std::to_string(occurrence));
                    ++runs;
                    auto problem = judge(ran, fault, call);
                    if (problem.empty() && !ran.timedOut && !ran.killed && ran.status == 0) problem = flow.succeeded();
                    if (problem.empty() && !ran.timedOut) problem = flow.intact(ran);
                    if (problem.empty()) {
                        ++held;
                    } else {
                        ADD_FAILURE() << name << ": " << call << " #" << occurrence << " " << fault << ": " << problem;
                    }
                }
            }
        }
        std::printf("%s: %d points, %d runs, %d held\n", name.c_str(), points, runs, held);
    }

    /// The failures tried at the `index`th point, a call of `call`.
    std::vector<std::string> faultsAt(const std::string& call, int index, bool throughGit) const {
        const std::vector<std::string> errnos = {"ENOSPC", "EIO", "EACCES"};
        auto inTurn = [&](const std::vector<std::string>& list) {
            return list[static_cast<std::size_t>(index) % list.size()];
        };
        std::vector<std::string> faults;
        if (full) {
            faults = errnos;
        } else if (throughGit) {
            // One failure a point: git's whole run is the price of each.
            if (interruptible.contains(call)) return {inTurn({"ENOSPC", "EIO", "EACCES", "EINTR", "KILL", "EINTR"})};
            return {inTurn({"ENOSPC", "EIO", "EACCES", "KILL"})};
        } else {
            faults.push_back(inTurn(errnos));
        }
        if (interruptible.contains(call)) faults.push_back("EINTR");
        if (mayWait.contains(call) && (full || index % 2 == 0)) faults.push_back("EAGAIN");
        faults.push_back("KILL");
        return faults;
    }

    /// What is wrong with how `ran` ended after `fault` in `call`.
    static std::string judge(const Ran& ran, const std::string& fault, const std::string& call) {
        if (ran.timedOut) return "did not end in time " + ran.errorOutput;
        if (ran.killed) return fault == "KILL" ? "" : "was killed";
        bool interrupted = fault == "EINTR" && interruptible.contains(call);
        if (ran.status == 0) return ran.errorOutput.empty() ? "" : "succeeded, saying: " + ran.errorOutput;
        if (interrupted) return "reported an interrupted call: " + ran.errorOutput;
        auto said = lines(ran.errorOutput);
        if (said.size() != 1 || !said[0].starts_with("Error: "))
            return "ended with " + std::to_string(ran.status) + " without one \"Error: \" line: " + ran.errorOutput;
        return "";
    }

    static std::vector<std::string> split(const std::string& text) {
        std::vector<std::string> words;
        for (std::size_t start = 0; start < text.size();) {
            auto end = std::min(text.find(' ', start), text.size());
            if (end > start) words.push_back(text.substr(start, end - start));
            start = end + 1;
        }
        return words;
    }

    /// How `process` ended, within 30 s.
    static Ran ended(platform::Process process) {
        auto captured = process.readToEnd(std::chrono::seconds(30));
        auto status = process.waitUntilExit(std::chrono::seconds(5));
        if (!captured || !status || !*status) {
            (void)process.sendSignal(SIGKILL);
            (void)process.waitUntilExit();
            return {.timedOut = true};
        }
        return {.killed = process.terminationReason() == platform::TerminationReason::uncaughtSignal,
                .status = **status,
                .errorOutput = captured->standardError};
    }

    /// The targets handed over since `prepare` cleared them.
    std::vector<std::string> targets() const {
        eventually([&] { return fs::exists(handed + "/targets"); });
        return lines(readFile(handed + "/targets"));
    }

    /// A repository with a.txt changed from A to B and a conflict waiting
    /// on "side" for a merge.
    void makeRepository() {
        git({"init", "-q", "-b", "main"}, root);
        tmp.writeFile("repo/a.txt", "a in A\n");
        git({"add", "."}, root);
        git({"commit", "-q", "-m", "A"}, root);
        git({"tag", "A"}, root);
        git({"switch", "-q", "-c", "side"}, root);
        tmp.writeFile("repo/a.txt", "a on side\n");
        git({"commit", "-q", "-am", "side"}, root);
        git({"switch", "-q", "main"}, root);
        tmp.writeFile("repo/a.txt", "a in B\n");
        git({"commit", "-q", "-am", "B"}, root);
        git({"tag", "B"}, root);
    }

    /// T holds nothing but session directories with their records and
    /// what those name (a run that was killed may leave more); each record
    /// holds `before` entries or, with the run's, `before` + 1.
    std::string sessionsIntact(const Ran& ran, std::size_t before) const {
        for (const auto& key : entriesOf(temporary)) {
            auto directory = temporary + "//" + key;
            auto names = entriesOf(directory);
            if (names.empty()) continue;
            // A session that had no record may still have none.
            if (before == 0 && !names.contains(std::string(DiffToolMetaData::fileName))) {
                if (ran.killed) continue;
                return "left behind " + *names.begin();
            }
            auto record = DiffToolMetaData::readMetadata(directory);
            if (!record) return "the record cannot be read: " + record.error().description;
            auto size = record->entries.size();
            if (size != before && size != before + 1) return "the record holds " + std::to_string(size) + " entries";
            names.erase(std::string(DiffToolMetaData::fileName));
            for (const auto& entry : record->entries)
                for (const auto* path : {&entry.base, &entry.local, &entry.remote, &entry.merged}) {
                    if (!path->starts_with(directory + "/")) continue;
                    if (!names.erase(path->substr(directory.size() + 1))) return "the record names a lost " + *path;
                }
            if (!names.empty() && !ran.killed) return "left behind " + *names.begin();
        }
        return "";
    }

    /// No hand-off directory is left in T.
    std::string noHandOffLeft(const Ran& ran) const {
        auto left = entriesOf(temporary);
        if (left.empty() || ran.killed) return "";
        return "left the hand-off directory " + *left.begin() + " behind";
    }

    /// The stand-in answered the merge with 0.
    std::string mergeAnswered() const {
        for (const auto& line : lines(readFile(stubLog)))
            if (line.starts_with("merge\t") && line.ends_with("-> 0")) return "";
        return "no answer from the application: " + readFile(stubLog);
    }

    /// varn under strace `options` adds a file from outside the repository
    /// to a session of a thousand entries.
    Ran extendLargeSession(const std::string& options) const {
        // A group leader waits for its session, which is named after it, to
        // be laid out, then runs varn.
        fs::remove(tmp / "go");
        auto process = start("/bin/sh",
                             {"-c", "i=0; while [ ! -e " + tmp / "go" +
                                        " ] && [ $i -lt 2000 ]; do sleep 0.005; i=$((i+1)); done; exec " + strace +
                                        " " + options + " " + varnProgram + " _difftool --base /dev/null --local " +
                                        tmp.writeFile("outside.txt", "a file git made\n") +
                                        " --remote a.txt --merged a.txt"},
                             root, environment(), true);
        DiffToolMetaData record;
        static_cast<VarnShared::DiffToolSession&>(record) = {root, process.processIdentifier(), std::nullopt,
                                                             std::nullopt};
        for (int i = 0; i < 1000; ++i) {
            auto file = root + "/f" + std::to_string(i) + ".txt";
            record.entries.push_back({"/dev/null", file, file, file});
        }
        auto directory = temporary + "//" + VarnShared::sessionKey(record);
        fs::create_directory(directory);
        fs::permissions(directory, fs::perms::owner_all);
        tmp.writeFile(directory.substr(tmp.path().size() + 1) + "/.varnel-difftool", record.encode().value());
        tmp.writeFile("go", "");
        return ended(std::move(process));
    }

    /// The large session holds the run's entry.
    std::string largeSessionGrew() const {
        auto sessions = entriesOf(temporary);
        if (sessions.size() != 1) return "no session";
        auto record = DiffToolMetaData::readMetadata(temporary + "//" + *sessions.begin());
        return record && record->entries.size() == 1001 ? "" : "the entry was not added";
    }

    void clearHandOffs() const {
        for (const auto& name : entriesOf(temporary)) fs::remove_all(temporary + "/" + name);
        fs::remove(handed + "/targets");
        fs::remove(stubLog);
    }

    bool full = false;
};

}  // namespace

TEST_F(FaultSweep, OpenAndDiff) {
    makeRepository();
    sweep("open",
          {.prepare = [&] { clearHandOffs(); },
           .run = [&](const std::string& options) { return runVarn({}, options); },
           .succeeded = [&] { return targets() == std::vector{root} ? "" : "the repository was not handed over"; },
           .intact = [&](const Ran&) { return std::string(); }});
    sweep("diff", {.prepare = [&] { clearHandOffs(); },
                   .run =
                       [&](const std::string& options) {
                           return runVarn({"diff", "A", "B", "a.txt"}, options);
                       },
                   .succeeded =
                       [&] {
                           auto handedOver = targets();
                           auto link = "https://open.varnel.app/diff/" + root + "?revspecA=A&revspecB=B&path_0=a.txt";
                           return handedOver == std::vector{link} ? "" : "the link was not handed over";
                       },
                   .intact = [&](const Ran&) { return std::string(); }});
}

// A merge the application answers: the verdict arrives, or the run fails
// and takes its hand-off directory with it. The verdict outranks the
// clean-up: a directory that cannot be removed after it stays.
TEST_F(FaultSweep, Merge) {
    makeRepository();
    EnvironmentChanges answered{{"VARNEL_STUB_MERGE", "ok"}};
    sweep("merge", {.prepare = [&] { clearHandOffs(); },
                    .run =
                        [&](const std::string& options) {
                            return runVarn({"merge", "a.txt"}, options, answered);
                        },
                    .succeeded = [&] { return mergeAnswered(); },
                    .intact = [&](const Ran& ran) { return ran.status == 0 ? "" : noHandOffLeft(ran); }});
}

// git mergetool believes varn: the conflict is resolved exactly when varn
// ended with 0, and kept otherwise.
TEST_F(FaultSweep, GitMergetool) {
    makeRepository();
    git({"merge", "-q", "side"}, root, {}, 1);
    EnvironmentChanges answered{{"VARNEL_STUB_MERGE", "ours"}};
    auto unmerged = [&] { return git({"diff", "--name-only", "--diff-filter=U"}, root).standardOutput; };
    sweep("git mergetool",
          {.prepare =
               [&] {
                   clearHandOffs();
                   // The conflict again, from what git remembers of it.
                   git({"checkout", "-q", "-m", "--", "a.txt"}, root);
                   fs::remove(root + "/a.txt.orig");
               },
           .run = [&](const std::string& options) { return runGit({"mergetool"}, options, answered); },
           .succeeded = [&] { return unmerged().empty() ? mergeAnswered() : "git still holds the conflict"; },
           .intact =
               [&](const Ran& ran) {
                   if (ran.status != 0 && unmerged() != "a.txt\n") return std::string("git resolved a failed merge");
                   return ran.status == 0 ? std::string() : noHandOffLeft(ran);
               }},
          true);
}

// git difftool's one run starts a session of the file pair.
TEST_F(FaultSweep, GitDifftoolStartsASession) {
    makeRepository();
    sweep("git difftool",
          {.prepare = [&] { clearHandOffs(); },
           .run =
               [&](const std::string& options) {
                   return runGit({"difftool", "-y", "A", "B"}, options);
               },
           .succeeded =
               [&] {
                   auto sessions = entriesOf(temporary);
                   if (sessions.size() != 1) return std::string("no session");
                   auto record = DiffToolMetaData::readMetadata(temporary + "//" + *sessions.begin());
                   if (!record || record->entries.size() != 1) return std::string("no entry");
                   if (record->repo != root || record->revspecA != "A" || record->revspecB != "B")
                       return std::string("the session is another's");
                   return std::string(targets().size() == 1 ? "" : "the session was not handed over");
               },
           .intact = [&](const Ran& ran) { return sessionsIntact(ran, 0); }},
          true);
}

// A run that extends a session of a thousand entries: the record is the old
// one or the new one, never neither, and names no lost copy.
TEST_F(FaultSweep, DifftoolExtendsALargeSession) {
    makeRepository();
    sweep("large session", {.prepare = [&] { clearHandOffs(); },
                            .run = [&](const std::string& options) { return extendLargeSession(options); },
                            .succeeded = [&] { return largeSessionGrew(); },
                            .intact = [&](const Ran& ran) { return sessionsIntact(ran, 1000); }});
}

// The exchange of the old record for the new one succeeds, the old one then
// cannot be removed, nor can the exchange be undone: the run fails, and the
// new record, in place, keeps the copy it names.
TEST_F(FaultSweep, ARecordExchangeThatFailsTwiceKeepsRecordAndFilesTogether) {
    makeRepository();
    auto ran = extendLargeSession(
        "-qq -o /dev/null -e trace=unlinkat,renameat2 -e inject=unlinkat:error=EIO:when=1 "
        "-e inject=renameat2:error=EIO:when=2");
    EXPECT_EQ(ran.status, 1);
    EXPECT_THAT(ran.errorOutput, ::testing::StartsWith("Error: Cannot write file "));
    EXPECT_EQ(largeSessionGrew(), "");
    EXPECT_EQ(sessionsIntact({.killed = true}, 1000), "");
}
