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
.TP
.B TMPDIR
The directory hand-offs are written under: a directory of its own for each
merge, removed when the merge ends, and one for each
.B git difftool
run, which the application reads the compared files from.
When it is unset or empty,
.I \%/tmp/varnel\-UID
(the user's number), created for the user alone.
.TP
.B XDG_DATA_HOME
Where the launcher looks for the registration of the application when
.B VARNEL_HOME
is not set (see
.BR FILES );
.I \(ti/.local/share
when it is unset or empty.
.TP
.B HOME
The home directory of a path beginning with \(lq\(ti\(rq and of the
default of
.BR XDG_DATA_HOME ;
the password database's entry when it is unset or empty.
.TP
.B PATH
Where the launcher finds
.BR xdg\-open ,
which the repository of
.B varn
.RI [ path ]
is handed to; only directories given by an absolute path count.
.TP
.B GIT_PREFIX
Set by
.BR git ,
which starts its diff tool at the top of the work tree: the directory
.B git difftool
was started in, relative to the top, which the paths it passes count from.
)"},
        {"Files", R"(.TP
.I \%libexec/varn/varnel\-open
The launcher that hands the work to the application on Linux, installed
with
.BR varn :
it is looked for beside
.B varn
first, then in the directory the installation gave it
.RI ( /usr/libexec/varn
for a
.B varn
in
.IR /usr/bin ).
.TP
.I \%$XDG_DATA_HOME/varnel/applications/com.varnel.Varnel
The application's registration: a symbolic link to the application, a
program or a directory
.I NAME.app
holding the program
.IR \%Contents/MacOS/NAME ,
which the launcher starts unless
.B VARNEL_HOME
names one.
.TP
.I $TMPDIR/UUID/
A merge's hand-off: the record
.I \%.varnel\-mergetool
that the application reads and the file
.I status
it writes its verdict into.
.TP
.I $TMPDIR/NUMBER/
The comparison of one
.B git difftool
run: the record
.I \%.varnel\-difftool
and copies of the files that
.B git
removes when the run ends.
)"},
        {"Examples", R"(Tell
.B git
once to use
.B varn
as its merge tool and diff tool; the single quotes keep the shell from
filling in the file names, which
.B git
does:
.PP
.EX
git config \-\-global mergetool.varn.cmd \e
  \(aqvarn _mergetool \-\-base "$BASE" \-\-local "$LOCAL" \-\-remote "$REMOTE" \-\-merged "$MERGED"\(aq
git config \-\-global mergetool.varn.trustExitCode true
git config \-\-global mergetool.keepBackup false
git config \-\-global merge.tool varn
.PP
git config \-\-global difftool.varn.cmd \e
  \(aqvarn _difftool \-\-base "$BASE" \-\-local "$LOCAL" \-\-remote "$REMOTE" \-\-merged "$MERGED"\(aq
git config \-\-global difftool.trustExitCode true
git config \-\-global diff.tool varn
.EE
.PP
Then
.B git mergetool
hands each conflicted file to Varnel and marks it resolved once Varnel
reports it so, and
.B git difftool main
shows the changes since
.I main
in one comparison.
.B mergetool.keepBackup false
keeps
.B git
from leaving a
.I .orig
copy of each file.
.PP
Compare the branch
.I main
with the work tree, and open the repository the current directory is in:
.PP
.EX
varn diff main
varn
.EE
)"},
        {"See also", R"(.BR git (1),
.BR git\-mergetool (1),
.BR git\-difftool (1)
)"},
    };
}

}  // namespace varnman
