# Installs the named Debian packages that are not installed yet; a second run installs nothing.
# Sourced by the scripts beside it.
install_packages() {
    local missing=()
    for package in "$@"; do
        dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' ||
            missing+=("$package")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    apt-get install -y -q --no-install-recommends "${missing[@]}" ||
        { apt-get update -q && apt-get install -y -q --no-install-recommends "${missing[@]}"; }
}

# What building the program needs.
BUILD_PACKAGES=(cmake ninja-build make g++ qt6-base-dev qt6-serialport-dev)

# The real logs and tracks lie in "shared/corpus" beside the repository: beside this checkout,
# or beside the repository a clone was made from. Sets KORVEL_CORPUS unless it is set already.
find_corpus() {
    [ -n "${KORVEL_CORPUS:-}" ] && return 0
    local origin
    origin=$(git remote get-url origin 2>/dev/null || true)
    for folder in "$PWD/.." "$origin/.."; do
        if [ -d "$folder/shared/corpus" ]; then
            KORVEL_CORPUS=$(cd "$folder/shared/corpus" && pwd)
            export KORVEL_CORPUS
            return 0
        fi
    done
}
