#pragma once
// A fake UCI engine for tests: a small script that answers as an engine would, but for the fault
// its mode names, and logs every command it gets.

#include <QDir>
#include <QFile>
#include <QString>
#include <fstream>
#include <string>
#include <vector>

namespace tavrel::testing {

// Plain sh, which starts in a moment even on a busy machine. $1 the mode, $2 the log, then the
// lines to print on each "go".
inline const char* kFakeEngineScript = R"(mode=$1; log=$2; shift 2
while IFS= read -r cmd; do
  cmd=$(printf '%s' "$cmd" | tr -d '\r')
  printf '%s\n' "$cmd" >> "$log"
  case "$cmd" in
    uci) [ "$mode" = no_uciok ] || printf 'id name Fake Engine 1.0\nuciok\n' ;;
    isready) [ "$mode" = no_readyok ] || echo readyok ;;
    go*)
      [ "$mode" = exits ] && exit 3
      if [ "$mode" = garbage ]; then
        printf '\001\002 nonsense\ninfo depth x score cp pv\nbestmovement\n'
        head -c 70000 /dev/zero | tr '\0' x; echo
      fi
      for line in "$@"; do printf '%s\n' "$line"; done ;;
    stop)
      [ "$mode" = no_bestmove ] && continue
      [ "$mode" = slow_bestmove ] && sleep 0.3
      echo "bestmove e2e4" ;;
    quit) [ "$mode" = no_quit ] || exit 0 ;;
  esac
done
)";

// Writes the program for `mode` into `dir`: it prints `lines` on each "go" and logs to `log`.
inline QString WriteFakeEngine(const QDir& dir, const std::string& mode, const QString& log,
                               const std::vector<std::string>& lines = {}) {
    const QString script = dir.filePath("fake.sh");
    std::ofstream(script.toStdString()) << kFakeEngineScript;
    const QString program = dir.filePath(QString::fromStdString(mode) + ".sh");
    std::ofstream out(program.toStdString());
    out << "#!/bin/sh\nexec sh " << script.toStdString() << " " << mode << " " << log.toStdString();
    for (const std::string& line : lines) out << " '" << line << "'";
    out << "\n";
    out.close();
    QFile::setPermissions(program, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return program;
}

}  // namespace tavrel::testing
