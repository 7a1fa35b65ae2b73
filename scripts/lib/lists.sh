# shellcheck shell=bash
# The check that the package lists of setup.sh are complete: every file of the system that a
# build compiles against, links or runs comes from a Debian package that the lists of that
# build name, or that one of those depends on. A package installed by hand on this machine
# and in no list would make the suite pass here and fail on a fresh machine. Sourced by
# setup.sh, after the lists. The scripts run with errexit, pipefail and inherit_errexit: a
# grep that finds nothing or a dpkg -S that misses a pattern must not end a scan halfway.

# The lists each preset's build needs, as its script installs them; a package missing from
# them belongs in the last.
declare -A skyhunt_preset_lists=(
    [play]="game sortie"
    [default]="game sortie suite"
    [asan]="game sortie suite"
    [fuzz]="game suite"
    [package]="game suite"
    [windows]="game sortie suite windows"
    [web]="game web"
)

# skyhunt_list_closure LIST...: prints the packages the lists bring, one a line: their own,
# Debian's essential ones (on every Debian system) and, recursively, every installed package those depend on or pre-depend on. Any installed
# alternative of a dependency counts, and a virtual name counts as each installed package
# that provides it.
skyhunt_list_closure() {
    local list roots=()
    for list in "$@"; do
        local -n named="skyhunt_packages_$list"
        roots+=("${named[@]}")
        unset -n named
    done
    mapfile -t -O "${#roots[@]}" roots < <(dpkg-query -W -f='${Package} ${Essential}\n' | sed -n 's/ yes$//p')
    dpkg-query -W -f='${db:Status-Abbrev}\t${Package}\t${Provides}\t${Pre-Depends}, ${Depends}\n' |
        awk -F'\t' -v roots="${roots[*]}" '
            function bare(name) {
                sub(/^ +/, "", name)
                sub(/[ :(].*/, "", name)
                return name
            }
            $1 ~ /^ii/ {
                installed[$2] = 1
                depends[$2] = $4
                n = split($3, provided, ",")
                for (i = 1; i <= n; i++) {
                    if ((p = bare(provided[i])) != "") providers[p] = providers[p] " " $2
                }
            }
            function add(name) {
                if (name != "" && !(name in seen)) {
                    seen[name] = 1
                    queue[++last] = name
                }
            }
            END {
                n = split(roots, root, " ")
                for (i = 1; i <= n; i++) add(root[i])
                for (head = 1; head <= last; head++) {
                    print queue[head]
                    d = split(depends[queue[head]], dependency, ",")
                    for (i = 1; i <= d; i++) {
                        a = split(dependency[i], alternative, "|")
                        for (j = 1; j <= a; j++) {
                            name = bare(alternative[j])
                            if (name in installed) add(name)
                            m = split(providers[name], provider, " ")
                            for (k = 1; k <= m; k++) add(provider[k])
                        }
                    }
                }
            }'
}

# Prints the system files a configured build folder compiles against, links and runs, one a
# line. Headers come from the compiler's own records where the object is built, and from
# running its command again as a dependency scan (-M -MG: no output, generated headers
# allowed) where it is not, so a build is not needed. Libraries come from the link commands,
# programs from every command.
skyhunt_build_system_files() {
    local dir=$1 scan
    scan=$(mktemp -d) || return 1
    (
        cd "$dir" || exit 1
        ninja -t commands >"$scan/commands" || exit 1
        ninja -t deps 2>/dev/null | awk '
            /^[^ ].*\(VALID\)$/ { sub(/: #deps.*/, ""); print "object " $0; valid = 1; next }
            /^[^ ]/ { valid = 0; next }
            valid && /^    \// { print "file " substr($0, 5) }' >"$scan/records"
        # Objects without a valid record are scanned, two at a time.
        awk '
            FILENAME == ARGV[1] { if ($1 == "object") known[$2] = 1; next }
            $1 ~ /(gcc|g\+\+|clang|clang\+\+)(-[0-9.]+|-posix)?$/ && / -c / && / -o / {
                for (i = 1; i < NF; i++) if ($i == "-o") object = $(i + 1)
                if (object in known) next
                gsub(/ -MD| -MF [^ ]+| -o [^ ]+/, "")
                print $0 " -M -MG -MF '"$scan"'/" ++n ".d"
            }' "$scan/records" "$scan/commands" >"$scan/rescan"
        xargs -r -d '\n' -n 1 -P "$(nproc)" sh -c <"$scan/rescan" || exit 1
        {
            sed -n 's/^file //p' "$scan/records"
            find "$scan" -name '*.d' -exec cat {} + | tr -s ' \\\t' '\n\n\n' | { grep '^/' || true; }
            # Libraries named by path or by -l, resolved by the compiler that links them.
            awk '$1 !~ /(gcc|g\+\+|clang|clang\+\+)(-[0-9.]+|-posix)?$/ || !/ -c / {
                    for (i = 1; i <= NF; i++) if ($i == "&&" && $(i + 1) ~ /^\//) { cc = $(i + 1); break }
                    for (i = 1; i <= NF; i++) {
                        if ($i ~ /^\/.*\.(a|so[.0-9]*)$/) print "path " $i
                        else if (cc != "" && $i ~ /^-l[A-Za-z0-9_+.-]+$/) print cc " " substr($i, 3)
                    }
                }' | sort -u | while read -r cc lib; do
                if [ "$cc" = path ]; then
                    echo "$lib"
                else
                    "$cc" -print-file-name="lib$lib.so" | grep '^/' ||
                        "$cc" -print-file-name="lib$lib.a" | grep '^/' || true
                fi
            done
            # The programs the build runs, and those it runs outside its commands (Wine, the
            # installer's compiler), which the configure found under SKYHUNT_HOST_ names.
            awk '{ for (i = 1; i <= NF; i++) if ((i == 1 || $(i - 1) == "&&") && $i ~ /^\//) print $i }' \
                "$scan/commands"
            sed -n 's/^SKYHUNT_HOST_[^:]*:FILEPATH=\(\/.*\)$/\1/p' CMakeCache.txt
        } | sort -u | xargs -r -d '\n' realpath -s -q -e -- | grep -v "^$skyhunt_root/" | sort -u
    )
    local status=$?
    rm -rf "$scan"
    return $status
}

# skyhunt_file_owners FILE...: prints "file<TAB>package" for each file a Debian package
# ships, by its own path, by where it leads or by its path before the merged /usr.
skyhunt_file_owners() {
    local -A owner=()
    local file pkg
    while IFS=$'\t' read -r pkg file; do
        owner[$file]=$pkg
    done < <({
        dpkg -S "$@" || true
        for file in "$@"; do
            realpath "$file"
            if [[ $file == /usr/* ]]; then
                echo "${file#/usr}"
            fi
        done | xargs -r dpkg -S || true
    } 2>/dev/null | sed -n '/^diversion/!s/^\([^:, ]*\)[^ ]* \(\/.*\)$/\1\t\2/p')
    for file in "$@"; do
        pkg=${owner[$file]:-${owner[$(realpath "$file")]:-${owner[${file#/usr}]:-}}}
        printf '%s\t%s\n' "$file" "$pkg"
    done
}

# skyhunt_check_lists [PRESET...]: configures each preset (all of skyhunt_preset_lists when
# none is named) and checks its build's system files against the packages its lists bring.
# Each miss is named with its package and the list it belongs in; fails if there is any.
skyhunt_check_lists() {
    local preset dir file pkg misses=0
    if [ "$#" -eq 0 ]; then
        set -- play default asan fuzz package windows web
    fi
    for preset in "$@"; do
        local lists
        read -ra lists <<<"${skyhunt_preset_lists[$preset]:?no lists for the preset $preset}"
        local -A brought=()
        while read -r pkg; do
            brought[$pkg]=1
        done < <(skyhunt_list_closure "${lists[@]}")
        dir=$(cmake --preset "$preset" -S "$skyhunt_root" |
            sed -n 's/^-- Build files have been written to: //p' | tail -n 1) && [ -n "$dir" ] || return 1
        local files=()
        mapfile -t files < <(skyhunt_build_system_files "$dir")
        [ "${#files[@]}" -gt 0 ] || return 1
        while IFS=$'\t' read -r file pkg; do
            if [ -z "$pkg" ]; then
                echo "skyhunt: the $preset build uses $file, which no Debian package brings" >&2
                misses=$((misses + 1))
            elif [ -z "${brought[$pkg]:-}" ]; then
                echo "skyhunt: the $preset build uses $file from the package $pkg, which no list" \
                    "brings: add $pkg to the '${lists[-1]}' list of scripts/lib/setup.sh" >&2
                misses=$((misses + 1))
            fi
        done < <(skyhunt_file_owners "${files[@]}")
        unset brought
    done
    if [ "$misses" -gt 0 ]; then
        echo "skyhunt: the package lists lack what $misses file(s) above need" >&2
        return 1
    fi
    echo "skyhunt: every system file of the builds ($*) comes from a listed package"
}
