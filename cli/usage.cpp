#include "cli/usage.h"

#include <utility>

namespace cli {

#define MAILZOLKA_SYNOPSIS \
  "usage: mailzolka mails [FILTERS] [--tsv | --csv | --json | --show] [COMMON] LOG...\n" \
  "       mailzolka show [COMMON] LOG:LINE...\n" \
  "       mailzolka list [--view V] [--tsv | --json] [COMMON] LOG...\n" \
  "       mailzolka ids [--sort count|id|name] [--json | --csv FILE|-] [COMMON] LOG...\n" \
  "       mailzolka register [--profile-dir DIR] [COMMON] LOG...\n" \
  "       mailzolka session [--profile-dir DIR] [--addin PATH] [--encoding E] LOG SCRIPT\n" \
  "       mailzolka help [COMMAND] | COMMAND --help | --version\n" \
  "COMMON: [--window] [--addin PATH] [--encoding cp932|utf-8|auto]\n"

const char kShortUsage[] = MAILZOLKA_SYNOPSIS;

const char kUsage[] =
    "mailzolka - the Mail Zolka add-in (QORMAIL) over saved terminal logs\n"
    "\n" MAILZOLKA_SYNOPSIS
    "\n"
    "mails     one line per mail: LOG:LINE: date time  ID name  subject\n"
    "show      a mail's lines, by the LOG:LINE mails prints\n"
    "list      the tree the add-in's pane shows, per view\n"
    "ids       the IDs found, with counts; --csv is the add-in's own export\n"
    "register  the add-in's registration of the IDs into QOR.INI\n"
    "session   a script against the add-in (mailzolka help session)\n"
    "\n"
    "LOG is a terminal log in code page 932 (Shift-JIS), or saved as UTF-8; - is standard input;\n"
    "gzip and xz logs are read as they are. Lines are numbered from 1. Every command reads the\n"
    "whole log; --window reads the last 10000 lines only, as the pane does by default (--all is\n"
    "still taken, and changes nothing).\n"
    "  --encoding E       cp932, utf-8 or auto (default): a log that is UTF-8 beyond ASCII is\n"
    "                     converted to code page 932 before the add-in sees it; a character the\n"
    "                     code page lacks becomes \xE3\x83\xBB and the first one is reported with\n"
    "                     its line; a log that stops being UTF-8 is read as code page 932 and\n"
    "                     the line is named\n"
    "  --addin PATH       the add-in module; default QORMAIL.so beside mailzolka\n"
    "Options take their value as --opt VALUE or --opt=VALUE. mailzolka help COMMAND, or\n"
    "mailzolka COMMAND --help, shows a command's options with examples; the manual page\n"
    "mailzolka(1) and docs/cli.md tell the rest.\n"
    "\n"
    "Exit status: 0 when everything was done; 1 when mails matched no mail, show found no mail\n"
    "on a line, a log could not be read (the others are still listed), ids --csv or register failed (the add-in's message, or what went wrong, on\n"
    "standard error) or standard output could not be written; 2 for bad input (unknown command\n"
    "or bad argument, unreadable script, a log too large for memory, a path naming no item, a\n"
    "box or dialog with no queued answer, an answer left unused, an add-in module that cannot\n"
    "be loaded).\n";

namespace {

const char kMailsHelp[] =
    "usage: mailzolka mails [FILTERS] [--tsv | --csv | --json | --show] [COMMON] LOG...\n"
    "One record per mail, in log order: LOG:LINE: date time  ID name  subject (sent mail shows\n"
    "(sent) for the date; its name is the ID's, from the latest mail received from it).\n"
    "Filters (all must hold; exit status 1 when no mail matched):\n"
    "  --from ID|NAME     received mail from the ID (exactly) or a name holding NAME\n"
    "  --to ID|NAME       sent mail to it;  --with ID|NAME  either\n"
    "  --subject REGEX    the subject matches (full-width and half-width forms alike); -i: any case\n"
    "  --since DATE, --until DATE   YYYY-MM-DD, YYYY-MM or YYYY, both ends included; mails\n"
    "                     without a date (sent mail) are left out\n"
    "  --received, --sent one direction only\n"
    "Output: --tsv, --csv (with a header row), --json (JSON Lines), --show (each mail whole)\n"
    "Examples:\n"
    "  mailzolka mails --from ABC01234 --since 2026-01-01 logs/*.log\n"
    "  mailzolka mails --subject '\xE5\xBF\x98\xE5\xB9\xB4\xE4\xBC\x9A' -i --show logs/*.log.gz\n"
    "  mailzolka mails --json logs/*.log | jq -r 'select(.direction == \"sent\") | .id'\n";

const char kShowHelp[] =
    "usage: mailzolka show [COMMON] LOG:LINE...\n"
    "Prints the mail that begins on LINE of LOG (the form mails prints), in UTF-8 with the line\n"
    "positions: a received mail's header and the lines after it up to the next mail or prompt; a\n"
    "sent mail's recipient, subject and body up to its end mark /E. Exit status 1 when no mail\n"
    "begins there.\n"
    "Examples:\n"
    "  mailzolka show samples/session.log:9\n"
    "  mailzolka mails --from ABC01234 --show logs/*.log | less\n";

const char kListHelp[] =
    "usage: mailzolka list [--view V] [--tsv | --json] [COMMON] LOG...\n"
    "The tree the add-in builds for each LOG: a fresh profile with PREVMODE=V, one activation.\n"
    "  --view V   received (1, default), received-by-id (2), sent (3), sent-by-id (4), by-id (5)\n"
    "  --tsv      the run's events, then the tree in the dump format\n"
    "  --json     one JSON object per tree item\n"
    "The by-ID views group the mail of 1000 IDs at most; how many mails that leaves out is said\n"
    "on standard error.\n"
    "Examples:\n"
    "  mailzolka list --view by-id samples/session.log\n"
    "  mailzolka list --window big.log      # the last 10000 lines, as the pane\n";

const char kIdsHelp[] =
    "usage: mailzolka ids [--sort count|id|name] [--json | --csv FILE|-] [COMMON] LOG...\n"
    "The IDs view 5 finds, merged over the logs: ID<TAB>name<TAB>received<TAB>sent<TAB>LOG...\n"
    "in the order first seen. The name is the one of the latest mail received from the ID.\n"
    "  --sort S   count (most mail first), id or name\n"
    "  --json     one JSON object per ID\n"
    "  --csv FILE one LOG only: the add-in's own export into FILE (- for standard output; a\n"
    "             device or pipe such as /dev/stdout is written as it is)\n"
    "Examples:\n"
    "  mailzolka ids --sort count logs/*.log | head\n"
    "  mailzolka ids --csv ids.csv samples/session.log\n";

const char kRegisterHelp[] =
    "usage: mailzolka register [--profile-dir DIR] [COMMON] LOG...\n"
    "View 5 of each log, then the add-in's registration of its IDs into QOR.INI (every candidate\n"
    "kept). Prints the keys that changed, and the IDs QOR.INI does not hold afterwards. The\n"
    "add-in offers it only with a readable QOR.DAT beside the module.\n"
    "  --profile-dir DIR  where QOR.INI lives; without it a temporary directory (a dry run)\n"
    "Example:\n"
    "  mailzolka register --profile-dir ~/qor logs/2026-*.log\n";

const char kSessionHelp[] =
    "usage: mailzolka session [--profile-dir DIR] [--addin PATH] [--encoding E] LOG SCRIPT\n"
    "Runs SCRIPT (a file, or - for standard input) against the add-in.\n"
    "  --profile-dir DIR  where QORMAIL.INI lives (created when missing); without it a fresh\n"
    "                     temporary directory, removed at exit\n"
    "\n"
    "Script: one command a line; blank lines and lines starting with # are ignored.\n"
    "  attach                 hand the host to the add-in (it registers its pane)\n"
    "  detach                 hand it again (the add-in detaches)\n"
    "  activate [N]           activation notice 1024 with first parameter N (default 1)\n"
    "  notify NOTICE PARAM    notice 1024, 1025 or 1026 with first parameter PARAM\n"
    "  command ID             menu command ID (WM_COMMAND), whatever the menu shows\n"
    "  size                   WM_SIZE with the pane's client size\n"
    "  view POS [POS2]        the host's view lines, by position (POS2 defaults to POS);\n"
    "                         until set, both follow the newest line\n"
    "  select PATH            the user clicks a tree item; PATH is dotted child indexes from\n"
    "                         the top level: 0 is the first top-level item, 0.2 its third child\n"
    "  expand PATH            the user clicks the expand button of an item\n"
    "  mark POS ATTR          set a held line's attribute (0-255), no notice\n"
    "  append ATTR TEXT       a new line arrives (TEXT in UTF-8); ATTR 2 or more sends the\n"
    "                         heading notice (2-9 heading level ATTR-2, 10-17 attached heading)\n"
    "  discard                the oldest line goes; the discard notice names its position\n"
    "  pane tree|other        what the host reports as its active pane\n"
    "  profile KEY VALUE      write KEY=VALUE into [SYSTEM] of QORMAIL.INI\n"
    "  dump                   print the tree\n"
    "  menu                   print the pane's menu\n"
    "  null-heading-text      the host answers null heading texts from now on (a faulty host)\n"
    "The user's answers, queued first in first out for the next box or dialog:\n"
    "  answer yes|no|cancel|ok          the next message box\n"
    "  search TEXT                      search dialog: type TEXT (may be empty), press search\n"
    "  search-pick N                    search dialog: pick history entry N (from 0), search\n"
    "  search-cancel                    search dialog: cancel\n"
    "  idselect all|none|cancel|I,J,... ID selection: keep these rows (from 0) selected, OK\n"
    "  savefile PATH|cancel             save-file dialog\n"
    "  close ok|cancel                  a plain dialog such as the About box\n"
    "\n"
    "Output: one line per event, fields separated by TAB, texts shown in UTF-8:\n"
    "  ShowLine POS | ShowPosition POS SECOND | MessageBox CAPTION BUTTONS ICON TEXT |\n"
    "  Dialog TEMPLATE CAPTION | Progress UPPER LAST\n"
    "dump:  depth param image selimage children expanded selected label\n"
    "menu:  ID checked enabled TEXT, or - for a separator\n"
    "Bytes that are no code page 932 character show as \\xNN; a backslash shows as \\\\.\n"
    "Example:\n"
    "  printf 'attach\\nactivate\\ndump\\n' | mailzolka session samples/session.log -\n";

}  // namespace

const char* CommandHelp(const std::string& command) {
  static const std::pair<const char*, const char*> kHelps[] = {
      {"mails", kMailsHelp}, {"show", kShowHelp},         {"list", kListHelp},
      {"ids", kIdsHelp},     {"register", kRegisterHelp}, {"session", kSessionHelp}};
  for (const auto& [name, help] : kHelps) {
    if (command == name) return help;
  }
  return nullptr;
}

}  // namespace cli
