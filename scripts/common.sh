# Shared by scripts/run and scripts/test: installs what the build needs on Debian 12.

QX_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

# Debian packages the build, the tests and the screenshots need.
QX_PACKAGES=(build-essential cmake ninja-build pkg-config qt6-base-dev libgl-dev
             libgtest-dev libbenchmark-dev nlohmann-json3-dev fonts-dejavu-core clang-format
             dpkg-dev file desktop-file-utils)

qx_install_packages() {
    local missing=()
    for pkg in "${QX_PACKAGES[@]}"; do
        dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed" ||
            missing+=("$pkg")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    local sudo=()
    [ "$(id -u)" -ne 0 ] && sudo=(sudo)
    "${sudo[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends \
        "${missing[@]}"
}

# Installs the Debian packages named as arguments that are missing (tools of a check only).
qx_install_extra() {
    local saved=("${QX_PACKAGES[@]}")
    QX_PACKAGES=("$@")
    qx_install_packages
    QX_PACKAGES=("${saved[@]}")
}

# Configures build folder $1 with the CMake options that follow, unless it is configured
# already with the same options.
qx_configure() {
    local dir=$1
    shift
    local wanted="$*"
    if [ -f "$dir/CMakeCache.txt" ] && [ "$(cat "$dir/.qx-options" 2>/dev/null)" = "$wanted" ]; then
        return 0
    fi
    cmake -S "$QX_ROOT" -B "$dir" -G Ninja "$@"
    echo "$wanted" > "$dir/.qx-options"
}

# The language server's test clients: Node with the protocol libraries of the lock file and,
# unless "node" alone is asked for, Neovim.
qx_install_lsp_clients() {
    [ "${1:-}" = node ] || qx_install_extra neovim
    qx_npm_ci "$QX_ROOT/tests/lsp/node"
}

# Installs the packages of the lock file in folder dir (with npm's further arguments), unless
# the last install there was of the same lock file: npm ci removes and fetches them all.
qx_npm_ci() {
    local dir="$1"
    shift
    command -v npm >/dev/null || qx_install_extra nodejs npm
    if cmp -s "$dir/package-lock.json" "$dir/node_modules/.qx-installed-lock"; then
        return 0
    fi
    (cd "$dir" && npm ci "$@" --no-audit --no-fund --loglevel=error &&
        cp package-lock.json node_modules/.qx-installed-lock)
}

# The tools of the files for other editors: the packages of editors/vscode from its lock file
# (the packager, the bundler, the grammar tester, the language client), and xmllint and unzip
# for the tests. The packages' install scripts are skipped: they only fetch or build native
# parts of the packager's publishing side, which packing never loads, and the bundler's own
# binary comes as a package of its own.
qx_install_editor_tools() {
    qx_install_extra libxml2-utils unzip
    qx_npm_ci "$QX_ROOT/editors/vscode" --ignore-scripts
}
