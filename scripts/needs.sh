# Sourced: the commands Tollwick's scripts and tests call, kept in one place. deps.sh installs the
# packages that bring them and then checks every command below; the scripts that start Wine or
# an X server check their own commands first, so a missing tool is named at once rather than showing
# up later as an obscure failure.

# Commands, by what calls them.
# Native and MinGW builds (build.sh, test.sh, bench.sh, package.sh, cmake/mingw-w64-x86_64.cmake;
# the MinGW build makes the installer too).
build_commands=(cmake ctest make gcc g++ x86_64-w64-mingw32-gcc-posix x86_64-w64-mingw32-g++-posix
                x86_64-w64-mingw32-windres makensis)
# Every Windows program of the tests and run.sh: Wine, a prefix of its own, an X server.
wine_commands=(wine wineboot wineserver winepath Xvfb xvfb-run xauth)
# The end-to-end scripts: stored numbers, screenshots, the X window tree.
e2e_commands=(python3 convert xwininfo)
# Printing tests: the CUPS PDF printer and reading its output back.
print_commands=(cupsd lpadmin lpstat pdftotext pdftoppm pdfinfo)
# libFuzzer targets (clang -fsanitize=fuzzer).
fuzz_commands=(clang clang++)

# Fails naming each of the given commands that is not on PATH.
require_commands() {
  local missing=() command
  for command in "$@"; do
    command -v "$command" >/dev/null 2>&1 || missing+=("$command")
  done
  if [ ${#missing[@]} -gt 0 ]; then
    echo "Missing command(s): ${missing[*]}. scripts/deps.sh installs them (as root) from the" \
         "packages listed in scripts/needs.sh." >&2
    return 1
  fi
}
