#!/bin/sh
# Command-line cases of qmxcli batch, one per function: batch_cases.sh CASE QMXCLI DIR.
# Each case runs in its own empty folder DIR and fails on the first wrong result.
set -eu
case_name=$1
q=$2
dir=$3
rm -rf "$dir"
mkdir -p "$dir"
cd "$dir"

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

# The value of a named CSV column (header text given whole) in data row N (1-based).
column() {
  awk -F, -v name="$1" -v row="$2" 'NR == 1 { for (i = 1; i <= NF; i++) if ($i == name) c = i; next }
    NR == row + 1 { print $c }' "$3"
}

# SI per unit of a catalogue unit string, as qmxcli convert gives it.
factor() {
  "$q" convert 1 "$1" "$2" | tr -d ' \n' | sed 's/.*"result":\([^,}]*\).*/\1/'
}

# Every data row: column B of file FB equals column A of file FA divided by F, within TOL relative.
same_scaled() {
  awk -F, -v a="$1" -v b="$3" -v f="$5" -v tol="$6" '
    FNR == 1 { for (i = 1; i <= NF; i++) { if (FILENAME == ARGV[1] && $i == a) ca = i; if (FILENAME == ARGV[2] && $i == b) cb = i }; next }
    FILENAME == ARGV[1] { v[FNR] = $ca; next }
    { if (cb == "" || ca == "" || v[FNR] == "") { bad = 1; exit }; want = v[FNR] / f; d = ($cb - want) / want
      if (d < 0) d = -d
      if (d > tol) { printf "row %d: %.17g want %.17g\n", FNR - 1, $cb, want; bad = 1; exit }; n++ }
    END { if (bad || n == 0) exit 1 }' "$2" "$4"
}

records() {
  printf 'time,dp[inw],static_pressure[psi],flowing_temperature[F],tag\n'
  printf '2026-01-01T00:00:00Z,50,500,72,a\n'
  printf '2026-01-01T00:30:00Z,60,480,70,"b,c"\n'
  printf '2026-01-01T01:00:00Z,40,510,68,d\n'
}

case $case_name in
same_as_calc)
  # The batch row and calc agree to the last digit for the same inputs and configuration.
  records >in.csv
  "$q" batch meter=12 taps=0 --in in.csv --out out.csv >/dev/null 2>err.txt
  want=$("$q" calc meter=12 taps=0 "dp=40 inw" "static_pressure=510 psi" "flowing_temperature=68 F" |
    tr -d ' \n' | sed 's/.*"mass_flow":{"si":\([^,]*\),.*/\1/')
  got=$(column 'mass_flow[kg/s]' 3 out.csv)
  [ -n "$want" ] && [ "$got" = "$want" ] || fail "mass flow $got, calc gives $want"
  want=$("$q" calc meter=12 taps=0 "dp=40 inw" "static_pressure=510 psi" "flowing_temperature=68 F" |
    tr -d ' \n' | sed 's/.*"z_flowing":{"text":"[^"]*","value":\([^}]*\)}.*/\1/')
  got=$(column 'z_flowing' 3 out.csv)
  [ "$got" = "$want" ] || fail "z $got, calc gives $want"
  [ "$(column 'tag' 2 out.csv)" = '"b' ] || fail "quoted pass-through column"
  grep -q '^2026-01-01T00:30:00Z,"b,c",' out.csv || fail "pass-through text not kept"
  grep -q '3 records, 0 errors' err.txt || fail "summary: $(cat err.txt)"
  ;;
errors_one_row_each)
  # Every damaged record gets a row with its error; nothing is dropped; exit 3.
  {
    printf 'dp,static_pressure,flowing_temperature,id\n'
    printf '12000,3.5e6,295,ok1\n'
    printf '12x,3.5e6,295,bad_number\n'
    printf -- '-5,3.5e6,295,refused\n'
    printf '12000,3.5e6,295,\377\376\n'
    printf '12000,3.5e6,295,ok2\n'
    printf '12000,3.5e6'
  } >in.csv
  status=0
  "$q" batch --in in.csv --out out.csv >/dev/null 2>err.txt || status=$?
  [ "$status" = 3 ] || fail "exit $status, want 3"
  [ "$(wc -l <out.csv)" = 7 ] || fail "$(wc -l <out.csv) lines, want header + 6"
  grep -q ',ok1,.*,,$' out.csv || fail "ok1 has an error"
  grep -q 'bad_number,.*"dp: not a finite number: ""12x"""$' out.csv || fail "bad number row"
  grep -q 'refused,.*dp: value refused' out.csv || fail "refused value row"
  grep -q 'not UTF-8 text in field 4$' out.csv || fail "bytes that are not text"
  grep -q ',ok2,' out.csv || fail "ok2 missing"
  tail -n 1 out.csv | grep -q 'truncated record: 2 of 4 fields$' || fail "truncated last line"
  grep -q '6 records, 4 errors' err.txt || fail "summary: $(cat err.txt)"
  ;;
usage_errors)
  # Found before any work: exit 2, the column or key named, an earlier output file kept.
  echo earlier >out.csv
  printf 'dp,flowing_temperature\n1,2\n' >no_pressure.csv
  printf 'dp[F],static_pressure,flowing_temperature\n1,2,3\n' >bad_unit.csv
  records >in.csv
  for args in "--in no_pressure.csv" "--in bad_unit.csv" "--in in.csv bogus=1" "--in in.csv --totals week" \
    "--in in.csv --threads 100000"; do
    status=0
    # shellcheck disable=SC2086
    "$q" batch $args --out out.csv >/dev/null 2>err.txt || status=$?
    [ "$status" = 2 ] || fail "$args: exit $status, want 2"
    [ "$(cat out.csv)" = earlier ] || fail "$args: the earlier file was touched"
  done
  # CSV totals need a file beside the output.
  status=0
  "$q" batch --in in.csv --totals hour >/dev/null 2>err.txt || status=$?
  [ "$status" = 2 ] && grep -q 'needs --out PATH' err.txt || fail "CSV totals to standard output: $status"
  "$q" batch --in no_pressure.csv 2>&1 >/dev/null | grep -q 'static_pressure' || fail "column not named"
  "$q" batch --in bad_unit.csv 2>&1 >/dev/null | grep -q '"dp\[F\]": unit "F"' || fail "unit not named"
  "$q" batch --in in.csv bogus=1 2>&1 >/dev/null | grep -q 'unknown key: "bogus"' || fail "key not named"
  status=0
  "$q" batch --in in.csv --out missing/out.csv >/dev/null 2>err.txt || status=$?
  [ "$status" = 1 ] || fail "unwritable output: exit $status"
  # A write that fails midway (a full device) is a failure, not a success.
  status=0
  "$q" batch --in in.csv --out /dev/full >/dev/null 2>err.txt || status=$?
  [ "$status" = 1 ] && grep -q '/dev/full' err.txt || fail "full device: exit $status $(cat err.txt)"
  ;;
threads_keep_order)
  # 20000 records on 4 threads come out in input order, one row each.
  awk 'BEGIN { print "seq,dp,static_pressure,flowing_temperature"
    for (i = 1; i <= 20000; i++) printf "%d,%d,%d,%.2f\n", i, 2000 + (i * 37) % 40000, 1000000 + (i * 7919) % 5000000, 270 + (i % 50) }' >in.csv
  "$q" batch --threads 4 <in.csv >out4.csv 2>/dev/null
  "$q" batch --threads 1 --in in.csv --out out1.csv >/dev/null 2>&1
  [ "$(wc -l <out4.csv)" = 20001 ] || fail "$(wc -l <out4.csv) lines"
  awk -F, 'NR > 1 && $2 != NR - 1 { print "row " NR " holds " $2; exit 1 }' out4.csv || fail "order lost"
  cmp -s out1.csv out4.csv || fail "one thread and four threads differ"
  ;;
config_file)
  # --config holds KEY=VALUE lines with comments; the command line follows it.
  records >in.csv
  printf '# ISO orifice\n\nmeter=12\n  taps=2  \n' >qmx.conf
  "$q" batch --config qmx.conf --in in.csv --out a.csv >/dev/null 2>&1
  "$q" batch meter=12 taps=2 --in in.csv --out b.csv >/dev/null 2>&1
  "$q" batch --in in.csv --out c.csv >/dev/null 2>&1
  cmp -s a.csv b.csv || fail "--config differs from the same keys"
  cmp -s a.csv c.csv && fail "--config had no effect"
  printf 'meter\n' >bad.conf
  status=0
  "$q" batch --config bad.conf --in in.csv >/dev/null 2>err.txt || status=$?
  [ "$status" = 2 ] && grep -q 'line 1' err.txt || fail "bad config line: $status $(cat err.txt)"
  ;;
jsonl)
  records >in.csv
  printf '2026-01-01T01:30:00Z,oops,500,72,e\n' >>in.csv
  status=0
  "$q" batch --jsonl --in in.csv >out.jsonl 2>/dev/null || status=$?
  [ "$status" = 3 ] || fail "exit $status"
  [ "$(wc -l <out.jsonl)" = 4 ] || fail "$(wc -l <out.jsonl) lines"
  head -n 1 out.jsonl | grep -q '^{"time":"2026-01-01T00:00:00Z","tag":"a","dp":12432.050559413499,' || fail "first row: $(head -n 1 out.jsonl)"
  grep -q '"mass_flow":[0-9.e-]*,' out.jsonl || fail "mass flow member"
  tail -n 1 out.jsonl | grep -q '"mass_flow":null,.*"error":"dp\[inw\]: not a finite number' || fail "error row"
  ;;
totals)
  # Hourly totals: records 30 min apart, the last lasting as long as the interval before it.
  records | tr -d '"' | sed 's/b,c/b/' >in.csv
  printf '2026-01-01T01:30:00Z,45,505,70,e\n' >>in.csv
  "$q" batch --totals hour --in in.csv --out out.csv >paths.json 2>/dev/null
  grep -q '"totals_path": "out.csv.totals.csv"' paths.json || fail "paths: $(cat paths.json)"
  [ "$(sed -n 1p out.csv.totals.csv)" = 'period,records,errors,duration[s],mass[kg],std_volume[m3],energy[j],dp[pa],upstream_pressure[pa],flowing_temperature[K]' ] ||
    fail "totals header"
  [ "$(wc -l <out.csv.totals.csv)" = 3 ] || fail "two hours expected"
  # The hour's mass is the sum of flow x 1800 s of its two records.
  awk -F, 'NR == FNR { if (FNR == 1) { for (i = 1; i <= NF; i++) if ($i == "mass_flow[kg/s]") c = i; next }
      m[FNR - 1] = $c; next }
    FNR == 2 { want = (m[1] + m[2]) * 1800; if ($1 != "2026-01-01T00:00:00Z" || $2 != 2 || $4 != 3600) exit 1
      d = ($5 - want) / want; if (d > 1e-14 || d < -1e-14) exit 1 }
    FNR == 3 { want = (m[3] + m[4]) * 1800; d = ($5 - want) / want; if ($1 != "2026-01-01T01:00:00Z" || d > 1e-14 || d < -1e-14) exit 1 }' \
    out.csv out.csv.totals.csv || fail "totals: $(cat out.csv.totals.csv)"
  "$q" batch --totals day --jsonl --in in.csv >out.jsonl 2>/dev/null
  tail -n 1 out.jsonl | grep -q '^{"period":"2026-01-01T00:00:00Z","records":4,"errors":0,"duration":7200,' ||
    fail "jsonl totals: $(tail -n 1 out.jsonl)"
  # A clock set back is reported beside the summary; the records are all still written.
  printf '2026-01-01T00:45:00Z,45,505,70,f\n' >>in.csv
  "$q" batch --totals hour --jsonl --in in.csv >back.jsonl 2>err.txt
  grep -q 'the time goes back at 1 record' err.txt || fail "step back not reported: $(cat err.txt)"
  [ "$(grep -c '"period"' back.jsonl)" = 3 ] || fail "periods after a step back: $(grep period back.jsonl)"
  ;;
units_columns)
  # --units us: each governed column in its unit, named in the header; the rest stays SI.
  records | tr -d '"' | sed 's/b,c/b/' >in.csv
  "$q" batch meter=12 taps=0 --in in.csv --out si.csv >/dev/null 2>&1
  "$q" batch meter=12 taps=0 --units us --in in.csv --out us.csv >/dev/null 2>&1
  head -n 1 us.csv | grep -q '^time,tag,dp\[inw\],static_pressure\[psi\],upstream_pressure\[psi\],flowing_temperature\[F\],mass_flow\[lbm/hr\],std_volume_flow\[mcf/hr\],actual_volume_flow\[mcf/hr\],energy_flow\[mbtu/hr\],cd,expansion_factor,reynolds,z_flowing,z_base,density_flowing\[lbm/ft3\],density_base\[lbm/ft3\],meter_flags,warning,error$' ||
    fail "us header: $(head -n 1 us.csv)"
  for pair in 'mass_flow[kg/s] mass_flow[lbm/hr] lbm/hr kg/s' 'std_volume_flow[m3/s] std_volume_flow[mcf/hr] mcf/hr m3/s' \
    'actual_volume_flow[m3/s] actual_volume_flow[mcf/hr] mcf/hr m3/s' 'energy_flow[watt] energy_flow[mbtu/hr] mbtu/hr watt' \
    'dp[pa] dp[inw] inw pa' 'static_pressure[pa] static_pressure[psi] psi pa' \
    'density_flowing[kg/m3] density_flowing[lbm/ft3] lbm/ft3 kg/m3'; do
    set -- $pair
    f=$(factor "$3" "$4")
    [ -n "$f" ] || fail "no factor for $3"
    same_scaled "$1" si.csv "$2" us.csv "$f" 1e-15 || fail "$2 is not $1 / $f"
  done
  # lbm is 0.45359237 kg exactly: the mass flow checked against the definition as well.
  same_scaled 'mass_flow[kg/s]' si.csv 'mass_flow[lbm/hr]' us.csv 0.000125997880555555556 1e-15 ||
    fail "lbm/hr against its definition"
  # 68 F as read in, written back in F.
  [ "$(column 'flowing_temperature[F]' 3 us.csv | cut -c1-6)" = 68.000 ] ||
    [ "$(column 'flowing_temperature[F]' 3 us.csv | cut -c1-6)" = 67.999 ] || fail "temperature $(column 'flowing_temperature[F]' 3 us.csv)"
  [ "$(column 'z_flowing' 2 us.csv)" = "$(column 'z_flowing' 2 si.csv)" ] || fail "z changed"
  # One list alone: only its columns change; the others keep SI and their SI headers.
  "$q" batch meter=12 taps=0 unit.mass_flow=kg/hr --in in.csv --out one.csv >/dev/null 2>&1
  head -n 1 one.csv | grep -q ',dp\[pa\],.*,mass_flow\[kg/hr\],std_volume_flow\[m3/s\],' || fail "one list: $(head -n 1 one.csv)"
  same_scaled 'mass_flow[kg/s]' si.csv 'mass_flow[kg/hr]' one.csv "$(factor kg/hr kg/s)" 1e-15 || fail "kg/hr"
  # A list over the system; a liquid's actual volume follows the liquid list.
  "$q" batch --units si unit.dp=mbar --in in.csv --out over.csv >/dev/null 2>&1 || true
  head -n 1 over.csv | grep -q ',dp\[mbar\],static_pressure\[kpa\],.*flowing_temperature\[C\],mass_flow\[kg/hr\]' || fail "over: $(head -n 1 over.csv)"
  "$q" batch fluid=liquid unit.liquid_volume_flow=bbl/day unit.gas_volume_flow=m3/hr --in in.csv --out liq.csv >/dev/null 2>&1 || true
  head -n 1 liq.csv | grep -q 'std_volume_flow\[m3/hr\],actual_volume_flow\[bbl/day\]' || fail "liquid: $(head -n 1 liq.csv)"
  # Without units nothing changes: the SI output is the same as before any unit was known.
  head -n 1 si.csv | grep -q '^time,tag,dp\[pa\],static_pressure\[pa\],upstream_pressure\[pa\],flowing_temperature\[K\],mass_flow\[kg/s\],' || fail "SI header"
  ;;
units_refused)
  # A unit that does not fit its list, an unknown list or system: exit 2 before any work.
  records >in.csv
  echo earlier >out.csv
  for args in "unit.pressure=kg" "--units metric" "unit.bogus=kg" "unit.mass_flow=m3/hr"; do
    status=0
    # shellcheck disable=SC2086
    "$q" batch $args --in in.csv --out out.csv >/dev/null 2>err.txt || status=$?
    [ "$status" = 2 ] || fail "$args: exit $status, want 2"
    [ "$(cat out.csv)" = earlier ] || fail "$args: the earlier file was touched"
  done
  "$q" batch unit.pressure=kg --in in.csv 2>&1 >/dev/null |
    grep -q 'unit\.pressure: unit "kg" does not fit: Pressure units only, eg psi' || fail "no hint"
  "$q" batch --units metric --in in.csv 2>&1 >/dev/null | grep -q 'no such unit system: "metric"' || fail "system not named"
  ;;
units_config)
  # unit.* keys in a --config file act as on the command line; JSON members carry the unit.
  records >in.csv
  printf '# units\nmeter=12\nunit.mass_flow=lbm/hr\n unit.temperature=C \n' >qmx.conf
  "$q" batch --config qmx.conf --in in.csv --out a.csv >/dev/null 2>&1
  "$q" batch meter=12 unit.mass_flow=lbm/hr unit.temperature=C --in in.csv --out b.csv >/dev/null 2>&1
  cmp -s a.csv b.csv || fail "--config differs from the same keys"
  head -n 1 a.csv | grep -q 'flowing_temperature\[C\],mass_flow\[lbm/hr\]' || fail "config header: $(head -n 1 a.csv)"
  "$q" batch --config qmx.conf --jsonl --in in.csv >a.jsonl 2>/dev/null
  head -n 1 a.jsonl | grep -q '"dp":[0-9.e-]*,.*"flowing_temperature\[C\]":22\.2[0-9]*,"mass_flow\[lbm/hr\]":[0-9.e-]*,' ||
    fail "jsonl members: $(head -n 1 a.jsonl)"
  ;;
units_totals)
  # Totals in the total lists' units; the averages as their columns.
  records | tr -d '"' | sed 's/b,c/b/' >in.csv
  printf '2026-01-01T01:30:00Z,45,505,70,e\n' >>in.csv
  "$q" batch --totals hour --in in.csv --out si.csv >/dev/null 2>&1
  "$q" batch --units us --totals hour --in in.csv --out us.csv >/dev/null 2>&1
  [ "$(sed -n 1p us.csv.totals.csv)" = 'period,records,errors,duration[s],mass[lbm],std_volume[mcf],energy[mbtu],dp[inw],upstream_pressure[psi],flowing_temperature[F]' ] ||
    fail "totals header: $(sed -n 1p us.csv.totals.csv)"
  same_scaled 'mass[kg]' si.csv.totals.csv 'mass[lbm]' us.csv.totals.csv "$(factor lbm kg)" 1e-15 || fail "mass total"
  same_scaled 'std_volume[m3]' si.csv.totals.csv 'std_volume[mcf]' us.csv.totals.csv "$(factor mcf m3)" 1e-15 || fail "volume total"
  same_scaled 'energy[j]' si.csv.totals.csv 'energy[mbtu]' us.csv.totals.csv "$(factor mbtu j)" 1e-15 || fail "energy total"
  same_scaled 'dp[pa]' si.csv.totals.csv 'dp[inw]' us.csv.totals.csv "$(factor inw pa)" 1e-15 || fail "dp average"
  "$q" batch --units us --totals day --jsonl --in in.csv >out.jsonl 2>/dev/null
  tail -n 1 out.jsonl | grep -q '^{"period":"2026-01-01T00:00:00Z","records":4,"errors":0,"duration":7200,"mass\[lbm\]":' ||
    fail "jsonl totals: $(tail -n 1 out.jsonl)"
  ;;
*)
  fail "no case $case_name"
  ;;
esac
