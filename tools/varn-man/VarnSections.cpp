#include "tools/varn-man/VarnSections.hpp"

namespace varnman {

std::vector<ManSection> varnSections() {
    return {
        {"Exit status", R"(.TP
.B 0
Success, and after help, a completion script or the command description
was printed.
.TP
.B 64
The command line could not be parsed, or one of its values was not valid.
The message on standard error is followed by the usage.
.TP
.B 1
Any other error, for example when no repository is found at the given path.
One message is written on standard error.
.TP
.I the launcher's status
.B open
and
.B diff
hand the work to Varnel with the platform's launcher
(\fB/usr/bin/open\fR on macOS, \fBvarnel\-open\fR elsewhere)
and end with its exit status;
so does each run that \fBgit difftool\fR starts.
.TP
.I the merge result
.B merge
and the runs that \fBgit mergetool\fR starts wait until Varnel reports how
the merge ended and exit with the number it reports, modulo 256:
0 when the conflict was resolved, 255 on an error,
254 when the merge could not be opened and 253 when it was left unresolved.
)"},
        {"Environment", R"(.TP
.B VARNEL_HOME
The Varnel application to hand the work to, instead of the one that
.B varn
belongs to.
When it is set, even to the empty text,
.B varn
writes \(lqUsing 'VARNEL_HOME' environment variable: \(rq and the value
on standard output.
.TP
.B VARNEL_VERBOSE
Any value but the empty text writes progress messages on standard output.
.TP
.B COLUMNS
The width of help text, when it is a number; otherwise the width of the
terminal, else 80 columns.
.TP
.B SHELL
The shell whose completion script \fB\-\-generate\-completion\-script\fR
writes when no shell is named: bash, zsh or fish.
)"},
        {"See also", R"(.BR git (1),
.BR git\-mergetool (1),
.BR git\-difftool (1)
)"},
    };
}

}  // namespace varnman
