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
