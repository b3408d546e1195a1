# Sourced by the scripts that need Debian packages:
#
#   install_for PURPOSE...   installs, through apt-get, those packages that the
#                            purposes need (packages.list) and that are not
#                            installed yet; nothing that is there is installed again
#   packages_for PURPOSE...  prints those packages, one a line
package_list=$(dirname "${BASH_SOURCE[0]}")/packages.list

packages_for() {
    local purpose words word included all=()
    for purpose in "$@"; do
        words=$(sed -n "s/^$purpose:[[:space:]]*//p" "$package_list")
        [ -n "$words" ] || { echo "install-missing: no purpose \"$purpose\" in $package_list" >&2; return 1; }
        for word in $words; do
            case "$word" in
                @*) included=$(packages_for "${word#@}") || return 1
                    all+=($included) ;;
                *) all+=("$word") ;;
            esac
        done
    done
    printf '%s\n' "${all[@]}" | awk '!seen[$0]++'
}

install_for() {
    local missing=() package packages
    packages=$(packages_for "$@") || return 1
    for package in $packages; do
        if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
            missing+=("$package")
        fi
    done
    [ ${#missing[@]} -gt 0 ] || return 0
    echo "Installing: ${missing[*]}" >&2
    local sudo=()
    [ "$(id -u)" -eq 0 ] || sudo=(sudo)
    "${sudo[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
}
