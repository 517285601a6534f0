#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# kalvira-convert as a process: the database's files converted or refused,
# bad input named by file and line, never a wrong table or a lost file, the
# same bytes in any locale.  Usage: convert_test.sh CONVERTER DATA_DIR [BUILD_DIR]
# (with BUILD_DIR: the command installed from it, run as a user would).
convert=$(realpath "$1") data=$(realpath "$2") build=${3:-}
. "$(dirname "$0")/session.sh"
cd "$tmp"
header=lambda_nm,n,k,eps1,eps2,K_per_m,alpha_per_cm,R,depth_nm,E_eV,wavenumber_per_cm,nu_THz
runs() {  # STATUS ARGUMENTS...: the status, with stdout in $tmp/out and stderr in $tmp/err
    local expected=$1 status=0 && shift
    "$convert" "$@" > out 2> err < "${stdin:-/dev/null}" || status=$?
    [ "$status" = "$expected" ] || fail "kalvira-convert $*: status $status, not $expected: $(head -c 300 err)"
}
says() { grep -qF -- "$1" "${2:-err}" || fail "'$1' not in ${2:-err}: $(head -c 300 "${2:-err}")"; }

# Every sample file: its own rows (how many, the first as the file has it, and why
# some are left out), or why it is refused; each formula file over its range.
while IFS='|' read -r file status rows said; do
    runs "$status" "$data/$file"
    if [ "$status" = 0 ]; then
        [ "$(head -n 1 out)" = $header ] && [ "$(($(wc -l < out) - 1))" = "$rows" ] || fail "$file: $(wc -l < out) lines"
        says "$said" "$( [ "${said#*left}" != "$said" ] && echo err || echo out)"
    else
        [ ! -s out ] || fail "$file: refused, yet wrote $(head -c 100 out)"
        says "kalvira-convert: $data/$file: " && says "$said"
        range=$(sed -n 's/.* within \([0-9.e+]*\) to \([0-9.e+]*\) nm$/\1:\2/p' err)
        [ -z "$range" ] || { runs 0 --range "$range:$(echo "$range" | awk -F: '{ print ($2 - $1) / 10 }')" "$data/$file"
                             [ "$(wc -l < out)" = 12 ] && tail -n 1 out | grep -q "^${range#*:}," || fail "$file over its range"; }
    fi
done <<'TABLE'
main/Au/nk/Johnson.yml|0|49|187.9,1.28,1.188,0.22705600000000015,3.04128,39725514.34235949,
main/Si/nk/Aspnes.yml|0|46|206.6,1.01,2.909,
main/Al2O3/nk/Boidin.yml|0|424|300,1.73756,0,3.0191147536,0,0,0,
specs/schott/optical/N-BK7.yml|0|25|300,1.5527702635738705,2.8607e-06,
specs/cdgm/optical/BAF2.yml|0|18|14 rows left out, outside the formula's range, 365 to 1014 nm
main/BaF2/nk/Bosomworth-300K.yml|0|120|1 row left out, outside the formula's range, 77000 to 1e+06 nm
main/MoS2/nk/Yim-20nm.yml|0|30|2 rows left out, where n (381.514 to 884.671 nm) and k (382.938 to 889.147 nm) do not overlap
main/SiO2/nk/Malitson.yml|1||gives a formula alone, no wavelengths of its own: give --at or --range within 210 to 6700 nm
main/AgGaS2/nk/Boyd-o.yml|1||give --at or --range within 490 to 12000 nm
main/BeAl6O10/nk/Pestryakov-alpha.yml|1||give --at or --range within 430 to 1100 nm
main/AgCl/nk/Tilton.yml|1||give --at or --range within 578 to 20600 nm
glass/misc/soda-lime/nk/Nyakuchena.yml|1||give --at or --range within 1100 to 1650 nm
main/Ar/nk/Peck-0C.yml|1||give --at or --range within 467.9 to 2058.7 nm
main/Si/nk/Edwards.yml|1||give --at or --range within 2437.3 to 25000 nm
main/AgBr/nk/Schroter.yml|1||give --at or --range within 495 to 670 nm
organic/CH4N2O - urea/nk/Rosker-e.yml|1||give --at or --range within 300 to 1060 nm
organic/C3H8O3 - glycerol/nk/Wang.yml|1||gives k alone, no n: nothing to convert
glass/infrared/AMTIR-1/n2/Ensley.yml|1||gives the nonlinear index n2, not n: no optical constants to convert
TABLE
[ "$(find "$data" -name '*.yml' | wc -l)" = 18 ] || fail "a sample file is not in the table"

# Tables and material files, as text: what comes out (a row's start, or the rows'
# wavelengths), or the message naming the file and line.  Where the wavelengths
# are given, nothing is written and an existing -o file is kept byte for byte.
# (@ separates the columns: YAML has bars of its own.)
yaml() { printf 'DATA:\n  - type: %s\n' "$1"; shift; printf '    %s\n' "$@"; }
nk_table='    data: |\n        0.5 2 0.1\n        0.7 3 0.2\n'
while IFS='@' read -r name arguments status said; do
    eval "$name" > in.txt
    eval "set -- $arguments"
    runs "$status" "$@" in.txt
    if [ "$status" != 1 ]; then
        says "$said" "$([ "$status" = 0 ] && echo out || echo err)"
    else
        says "kalvira-convert: in.txt$said"
        [ "$*" = "${*#--at}" ] || { [ ! -s out ] || fail "$name: wrote rows before refusing"
                                    echo kept > kept.csv && runs "$status" -o kept.csv "$@" in.txt
                                    [ "$(cat kept.csv)" = kept ] && [ -z "$(ls -A | grep part)" ] || fail "$name: -o kept.csv not kept"; }
    fi
done <<'TABLE'
printf 'lambda n k\n400 1.5 0.1  # a comment\n\n500;2;0\n600,\t3 , 0.5\n'@@0@600,3,0.5,8.75,3,
printf '632.8 inf inf\n'@@0@632.8,inf,inf,nan,inf,inf,inf,1,0,
printf '400 1.5 0.1\n500 2 x\n'@@1@:2: field 3: "x" is not a number
printf 'lambda n k\r\n400 1.5 0.1\r\n500 2 0\r\n'@@0@500,2,0,4,0,
printf '\357\273\277400 1.5 0.1\n'@@0@400,1.5,0.1,
printf '\357\273\277  \n400 1.5 0.1\n'@@0@400,1.5,0.1,
printf '\357\273\277'@@0@lambda_nm,
printf '500 1.5 -0.0000E+00\n'@@0@500,1.5,-0,2.25,-0,-0,-0,0.04,inf,
{ printf '400 1 0 #'; head -c 300000 /dev/zero | tr '\0' x; printf '\n500 2 0\n'; }@@0@500,2,0,
head -c 1100000 /dev/zero | tr '\0' 1@@1@:1: a line longer than 1048576 bytes
printf '400 1,5 0.1\n'@@1@:1: 4 fields where 3 belong
printf '400 1.5 0.1\n500 12abc 0\n'@--at 450@1@:2: field 2: "12abc" is not a number
printf '400 1 0\n300 1 0\n500 1 0\n'@--at 450@1@:3: the wavelengths do not strictly increase here
printf '500 1 0.25\n400 2 0.5\n'@--at 450@0@450,1.5,0.375,
printf '1.9593 1 0.3\n2.5 1.5 0.2\n3.1 2 0.1\n'@--unit eV --at 2.8@0@442.80070869000093,1.776785714285714,0.1446428571428572,
printf '500 1 0\n400 2 0\n'@--at 600@1@: 600 nm lies outside the data, which cover 400 to 500 nm
printf '1 2 3\n'@--at ,@2@Usage:
printf '1.9593 1 0\n'@--unit eV@0@632.7984404287258,1,0,1,0,0,0,0,inf,1.9593,
printf '0.6328 -10 -1\n'@--unit um --columns eps --convention minus@0@632.8,0.15791710027873845,-3.166218219036781,-10,-1,31437951.63270578,
printf 'DATA:\n  - type: tabulated nk\n    data: |\n        0.5 2 0.1\n        0.7 3\n'@@1@:5: 2 numbers where 3 belong
printf 'DATA:\n  - type: tabulated nk\n    data: |\n        0.5 2 0.1\n        0.7 3 y\n'@--at 600@1@:5: field 3: "y" is not a number
yaml 'tabulated xy' 'data: 1 2'@--at 600@1@:2: unknown DATA type "tabulated xy"
yaml 'formula 1' 'wavelength_range: 0.3 2.5'@--at 600@1@:2: no coefficients
yaml 'formula 2' 'wavelength_range: 0.3 2.5' 'coefficients: 0 1 x'@--at 600@1@:4: coefficients: "x" is not a number
yaml 'formula 1' 'wavelength_range: 0.3 2.5' 'coefficients: 0 1'@--at 600@1@:4: a term of formula 1 lacks a coefficient: 2 given
yaml 'formula 1' 'coefficients: 0 1 0.1'@--at 600@1@:2: no wavelength_range
yaml 'formula 1' 'coefficients: 0 1 0.1' 'wavelength_range: 2.5 0.3'@--at 600@1@:4: wavelength_range is not two wavelengths
yaml 'formula 3' 'coefficients: -1' 'wavelength_range: 0.3 2.5'@--at 600@1@: the formula gives no real n at 600 nm
printf 'DATA:\n  - type: tabulated nk\n    data: [1, 2\n'@--at 600@1@:4: YAML: end of sequence flow not found
printf 'DATA: %s\n' "$(printf '[%.0s' {1..5000})"@--at 600@1@: YAML nested more than
printf 'DATA:\n  - type: tabulated nk\n\0\1\2\377'@--at 600@1@: not a text file
printf 'DATA:\n  - type: tabulated k\n    data: |\n        0.5 0.7\n  - type: tabulated nk\n%b' "$nk_table"@@0@500,2,0.7,
printf 'DATA:\n  - type: tabulated nk\n%b  - type: tabulated k\n    data: |\n        0.5 0.7\n' "$nk_table"@@0@500,2,0.1,
yaml 'formula 2' 'wavelength_range: 0.3 2.5' 'coefficients: 1.25' && printf '  - type: tabulated nk\n%b' "$nk_table"@--at 600@0@600,1.5,0.15000000000000002,
printf 'DATA:\n  - type: tabulated n\n    data: |\n        0.5 2\n        0.7 3\n  - type: tabulated k\n    data: |\n        0.5 0.1\n        0.6 0.2\n'@@0@600,2.5,0.2,
TABLE
# the rows of both tables' wavelengths, once each; every wavelength of --range, TO included
[ "$(cut -d, -f1 out | paste -sd' ')" = "lambda_nm 500 600" ] || fail "a shared wavelength twice: $(cut -d, -f1 out | paste -sd' ')"
runs 0 --range 400:800:0.1 "$data/main/Au/nk/Johnson.yml"
[ "$(wc -l < out)" = 4002 ] && [ "$(tail -n 1 out | cut -d, -f1)" = 800 ] || fail "--range: $(wc -l < out) lines, the last $(tail -n 1 out)"
for arguments in --bogus '--range 1:2:-1' '--range 2:1:1' '--columns xyz' '--unit mm' '--at 500 --range 1:2:1' '-o'; do
    runs 2 $arguments && says Usage:
done
runs 1 nosuch.txt && says "kalvira-convert: cannot open nosuch.txt: No such file or directory"
printf '400 1.5 0.1\n500 1 bad\n' > streamed.txt && runs 1 streamed.txt
[ "$(sed -n 2p out | cut -d, -f1)" = 400 ] && says "streamed.txt:2: field 3" || fail "the rows before a bad line"
printf '\1\2\3\n400 1.5 0.1\n' > binary && stdin=binary runs 1 && [ ! -s out ] && says "standard input:1: not text" ||
    fail "binary input streamed: $(head -c 100 out)"

# several files and standard input, in one table with their names (quoted where CSV wants it)
cp "$data/main/Au/nk/Johnson.yml" 'Au, "Johnson".yml'
stdin=streamed.txt runs 1 'Au, "Johnson".yml' - && head -n 2 out | tail -n 1 | grep -q '^"Au, ""Johnson"".yml",187.9,' &&
    [ "$(head -n 1 out)" = source,$header ] && grep -q '^-,400,1.5,0.1,' out || fail "several files: $(head -n 2 out)"

# Names, in a catalogue of the sample files: each the same bytes as its file,
# or refused with the candidates, the nearest names or the page and file at fault;
# a page listed twice is one.  The database found by --database, then
# KALVIRA_DATABASE, in a clone's database/ too.
mkdir -p db && cp -r "$data" db/data && printf 'DATA:\n  - type: tabulated nk\n    data: 0.5 1 x\n' > db/data/broken.yml
ln -s /etc/passwd db/data/outside.yml
cat > db/catalog-nk.yml <<'CATALOGUE'
# a catalogue as upstream writes it
- DIVIDER: "Research data"
- SHELF: main
  name: "MAIN - simple inorganic materials"
  content:
    - DIVIDER: "Au - Gold"
    - BOOK: Au
      name: "Au (Gold)"
      content:
        - PAGE: Johnson
          name: "Johnson and Christy 1972: n,k 0.188&ndash;1.94 µm"
          data: main/Au/nk/Johnson.yml
    - BOOK: Si
      name: "Si (Silicon)"
      content:
        - PAGE: Aspnes
          name: "Aspnes and Studna 1983"
          data: main/Si/nk/Aspnes.yml
        - PAGE: Edwards
          name: "Edwards 1985"
          data: main/Si/nk/Edwards.yml
    - BOOK: BeAl6O10
      name: "BeAl<sub>6</sub>O<sub>10</sub> (Beryllium aluminate)"
      content:
        - PAGE: Pestryakov-α
          name: "Pestryakov et al. 1997: α"
          data: main/BeAl6O10/nk/Pestryakov-alpha.yml
- SHELF: specs
  content:
    - BOOK: SCHOTT-optical
      content:
        - PAGE: N-BK7
          data: specs/schott/optical/N-BK7.yml
        - DIVIDER: "again, under another heading"
        - PAGE: N-BK7
          data: specs/schott/optical/N-BK7.yml
- SHELF: 3d
  content:
    - BOOK: metals
      name: "METALS"
      content:
        - PAGE: gold
          name: "Gold (Au)"
          data: main/Au/nk/Johnson.yml
        - PAGE: nodata
        - PAGE: up
          data: ../../../etc/passwd
        - PAGE: root
          data: /etc/passwd
        - PAGE: link
          data: outside.yml
        - PAGE: missing
          data: main/none.yml
        - PAGE: broken
          data: broken.yml
CATALOGUE
while IFS='@' read -r arguments status said; do
    eval "set -- $arguments"
    runs "$status" --database db "$@"
    [ "$status" = 0 ] && file=out || { file=err && said="kalvira-convert: $said" && [ ! -s out ]; } || fail "$*: wrote $(cat out)"
    [[ "$(cat $file)" == *"$(printf '%b' "$said")"* ]] || fail "$*: '$said' not in $(cat $file)"
done <<'TABLE'
main/Au/Johnson@0@187.9,1.28,1.188,
au/JOHNSON@0@187.9,1.28,1.188,
"main/BeAl6O10/Pestryakov-α" --at 500@0@500,1.7
specs/SCHOTT-optical/N-BK7 --at 587.56@0@587.56,1.5168001097398938,
N-BK7 --at 587.56@1@no material N-BK7 in
Si@1@Si is a book of several pages; give one of:\n  main/Si/Aspnes  Aspnes and Studna 1983\n  main/Si/Edwards  Edwards 1985
Au/Jonson@1@no material Au/Jonson in db; did you mean main/Au/Johnson?
mian/Si/Aspnis@1@no material mian/Si/Aspnis in db; did you mean main/Si/Aspnes?
xyzzy@1@no material xyzzy in db
3d/metals/nodata@1@3d/metals/nodata (catalog-nk.yml:45): no data
3d/metals/up@1@3d/metals/up (catalog-nk.yml:46): its file ../../../etc/passwd lies outside the database
3d/metals/root@1@3d/metals/root (catalog-nk.yml:48): its file /etc/passwd lies outside the database
3d/metals/link@1@3d/metals/link (catalog-nk.yml:50): its file outside.yml lies outside the database
3d/metals/missing@1@3d/metals/missing (catalog-nk.yml:52): cannot open
3d/metals/broken@1@3d/metals/broken (db/data/broken.yml):3: 
main/../Au/Johnson@1@main/../Au/Johnson: a material's name holds no ".."
$'main/Au\tJohnson'@1@a material's name holds no control characters
missing.csv@1@cannot open missing.csv: No such file or directory
--list gold@0@main/Au/Johnson	Au (Gold)	Johnson and Christy 1972: n,k 0.188–1.94 µm\n3d/metals/gold	METALS	Gold (Au)
--list beal6o10 α@0@main/BeAl6O10/Pestryakov-α	BeAl6O10 (Beryllium aluminate)	Pestryakov et al. 1997: α
--list silver@1@nothing in db holds silver
--about Au/Johnson@0@main/Au/Johnson\ndb/data/main/Au/nk/Johnson.yml\n\nREFERENCES\n  P. B. Johnson and R. W. Christy.\n  Optical constants of the noble metals.\n  Phys. Rev. B 6, 4370-4379 (1972) (https://doi.org/10.1103/PhysRevB.6.4370)\n\nCOMMENTS\n  Room temperature\n\nDATA\n  tabulated nk, 187.9 to 1937 nm\n\nDATABASE\n  db\n  M. N. Polyanskiy
--about db/data/specs/schott/optical/N-BK7.yml@0@specs/SCHOTT-optical/N-BK7\ndb/data/specs/schott/optical/N-BK7.yml
--about specs/SCHOTT-optical/N-BK7@0@CONDITIONS\n  temperature: 293\n\nDATA\n  formula 2, 300 to 2500 nm\n  tabulated k, 300 to 2500 nm
TABLE
runs 0 --database db Au/Johnson specs/SCHOTT-optical/N-BK7 "$data/main/Au/nk/Johnson.yml" --at 600
[ "$(cut -d, -f1 out | uniq | paste -sd' ')" = "source main/Au/Johnson specs/SCHOTT-optical/N-BK7 $data/main/Au/nk/Johnson.yml" ] ||
    fail "the source column: $(cut -d, -f1 out)"
runs 0 --database db --list && [ "$(wc -l < out)" = 12 ] || fail "--list: $(wc -l < out) pages"
# the same catalogue in a form upstream does not write, read by YAML proper
mv out quick && mkdir -p yaml/database && cp -r db/data yaml/database/ && { echo ---; cat db/catalog-nk.yml; } > yaml/database/catalog-nk.yml
KALVIRA_DATABASE=yaml runs 0 --list && cmp -s quick out || fail "the catalogue read by YAML: $(diff quick out)"
KALVIRA_DATABASE=db runs 0 --database yaml Au/Johnson && cmp -s out <("$convert" "$data/main/Au/nk/Johnson.yml") || fail "--database does not win"
for broken in '- SHELF: main\n  content: [\n@3' '- SHELF: main\n  content:\n    - BOOK: Au\n      content:\n        - PAGE: J\n            data: x.yml\n@6'; do
    printf -- "${broken%@*}" > yaml/database/catalog-nk.yml && runs 1 --database yaml Au && says "catalog-nk.yml:${broken#*@}: YAML: "
done
KALVIRA_DATABASE=nowhere runs 1 Au && says "no database in nowhere (KALVIRA_DATABASE): it holds neither catalog-nk.yml nor database/catalog-nk.yml"
KALVIRA_DATABASE=nowhere runs 0 --about "$data/main/Au/nk/Johnson.yml" && says "REFERENCES" out  # a file needs no database
runs 0 --version --database db && [ "$(tail -n 1 out)" = db ] || fail "--version: $(cat out)"
runs 0 --version && says "refractiveindex.info database 2026-06-14 (ff11b58)" out

# a table fed live through a pipe: each row out as it comes with --line-buffered or
# to a terminal; Ctrl-C or SIGTERM while -o writes leaves the old file, no part
feed() {  # COMMAND...: run on a pipe that gets one row and stays open; its output in rows
    rm -f live && mkfifo live && { "$@" < live > rows 2>&1 & } && exec 5> live && printf '400 1.5 0.1\n' >&5
}
for command in "$convert --line-buffered" "script -qfec $convert /dev/null"; do
    feed $command && until_true grep -q '^400,1.5,0.1,' rows || fail "$command: a live row held back: $(cat rows)"
    exec 5>&- && wait
done
for signal in INT TERM; do
    echo kept > kept.csv && feed "$convert" -o kept.csv && until_true sh -c 'ls -A | grep -q part' && kill -$signal $! && exec 5>&-
    ! wait $! && [ "$(cat kept.csv)" = kept ] && [ -z "$(ls -A | grep part)" ] || fail "SIG$signal left $(ls -A)"
done

# -o: the file replaced whole with its permissions; a FIFO written into, never
# replaced (not /dev/null: a fault would replace the device); a failed write (a full disk, a file size limit) reported, nothing left behind
echo old > kept.csv && chmod 640 kept.csv && runs 0 -o kept.csv "$data/main/Au/nk/Johnson.yml"
[ "$(wc -l < kept.csv)" = 50 ] && [ "$(stat -c %a kept.csv)" = 640 ] || fail "-o: $(stat -c '%a %s' kept.csv)"
mkfifo fifo && { timeout 10 cat fifo > from-fifo & } && runs 0 -o fifo "$data/main/Au/nk/Johnson.yml" && wait
[ -p fifo ] && [ "$(wc -l < from-fifo)" = 50 ] || fail "the FIFO was replaced, or not written into"
("$convert" "$data/main/Au/nk/Johnson.yml" > /dev/full) 2> err && fail "a full disk reported as success"
says "cannot write standard output: No space left on device"
(trap '' XFSZ && ulimit -f 8 && runs 1 -o kept.csv --range 400:800:0.01 "$data/main/Au/nk/Johnson.yml") &&
    [ "$(wc -l < kept.csv)" = 50 ] && [ -z "$(ls -A | grep part)" ] || fail "a failed write left $(ls -A)"

# the same bytes under a German locale
runs 0 --at 587.56,1064 "$data/specs/schott/optical/N-BK7.yml" && mv out c.csv
localedef -i de_DE -f UTF-8 "$tmp/de_DE.UTF-8" 2>/dev/null || true
LOCPATH=$tmp LC_ALL=de_DE.UTF-8 "$convert" --at 587.56,1064 "$data/specs/schott/optical/N-BK7.yml" > out
[ "$(LOCPATH=$tmp LC_ALL=de_DE.UTF-8 /usr/bin/printf '%.1f' 1.5)" = 1,5 ] && cmp -s c.csv out || fail "the German locale changed the output"

# the README's examples, as shown there, by name from an unrelated folder
awk '/^## Converting tables/ { on = 1 } on && /^```console/ { block = 1; next } block && /^```/ { exit } block' "$top/README.md" > examples
[ -s examples ] || fail "no examples in the README"
while IFS= read -r line; do
    case $line in
    '$ '*) [ ! -e command ] || (PATH=$(dirname "$convert"):$PATH bash -o pipefail "$tmp/command") | diff -u shown - ||
               fail "the README's $(cat command)"
           echo "${line#\$ }" > command && : > shown ;;
    *) echo "$line" >> shown ;;
    esac
done < <(cat examples && echo '$ ')

# installed from BUILD_DIR, run from another folder on a relative path, with its manual page and completion
if [ -n "$build" ]; then
    cmake --install "$build" --prefix "$tmp/prefix" > /dev/null
    mkdir elsewhere && cp "$data/specs/schott/optical/N-BK7.yml" elsewhere/ && cd elsewhere
    convert=$tmp/prefix/bin/kalvira-convert runs 0 --at 587.56 N-BK7.yml && says 587.56,1.5168001097398938, out
    convert=$tmp/prefix/bin/kalvira-convert runs 0 --at 587.56 specs/SCHOTT-optical/N-BK7 && says 587.56,1.5168001097398938, out
    man -l "$tmp/prefix/share/man/man1/kalvira-convert.1" 2>/dev/null | grep -q -- --convention || fail "no manual page"
    while IFS='@' read -r typed completed; do  # the database's names a part at a time, from the installed database
        [ "$(bash -c ". '$tmp/prefix/share/bash-completion/completions/kalvira-convert' && COMP_WORDS=($tmp/prefix/bin/kalvira-convert \"\$1\")
                    COMP_CWORD=1 && compopt() { :; } && _kalvira_convert && echo \"\${COMPREPLY[*]}\"" - "$typed")" = "$completed" ] ||
            fail "completing $typed"
    done <<'TABLE'
sp@specs/
specs/SCHOTT-op@specs/SCHOTT-optical/
specs/SCHOTT-optical/N-BK7@specs/SCHOTT-optical/N-BK7 specs/SCHOTT-optical/N-BK7HT specs/SCHOTT-optical/N-BK7HTi
--li@--list --line-buffered
TABLE
fi
echo "ok: kalvira-convert"
