#!/bin/sh
# A command-line tool whose "texts export" has a help of its own and whose "list" has none (it
# prints the general help), to make a manual page from.
general() {
    cat <<'HELP'
Usage: fake-cli COMMAND [OPTIONS] ARGS

Commands:
  list [--json] FILE
        Print the list.
  texts export [--po] FILE
        Print the texts.

Options:
  --help          show this help
  --version       show the version
HELP
}
case "$*" in
    --version) echo "fake-cli 9.9" ;;
    --help | "list --help") general ;;
    "texts export --help")
        printf 'Usage: fake-cli texts export [--po] FILE\n'
        printf '.TH a line that starts with a dot\n'
        printf "'also one with a quote\n"
        printf 'a back\\slash and --format FORMAT\n'
        ;;
    *) exit 2 ;;
esac
