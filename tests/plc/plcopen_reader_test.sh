#!/usr/bin/env bash
# The PLCopen export as a PLC programmer's tools take it: valid against the TC6 v2.01 schema, and read by
# xml2st (third_party/xml2st, used by this test only) into the Structured Text a runtime compiles, with every
# typed variable at its address and the swap program with its instance.
# Usage: plcopen_reader_test.sh TESSARA SOURCE_DIR
set -euo pipefail
tessara=$(realpath "$1")
source=$(cd "$2" && pwd)
xml2st=$source/third_party/xml2st
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
fail() { echo "$1"; exit 1; }

# CASE FIXTURE OPTIONS... -- EXPECTED ST LINES...
check() {
  local name=$1 fixture=$2
  shift 2
  local options=()
  while [[ $1 != -- ]]; do options+=("$1"); shift; done
  shift
  mkdir "$scratch/$name"
  # xml2st names its output after an input called plc.xml.
  "$tessara" map --plcopen "${options[@]}" "$source/tests/fixtures/$fixture" >"$scratch/$name/plc.xml" ||
    fail "$name: tessara map failed"
  xmllint --noout --schema "$xml2st/plcopen/tc6_xml_v201.xsd" "$scratch/$name/plc.xml" 2>"$scratch/$name/lint" ||
    fail "$name: not valid against the TC6 schema: $(cat "$scratch/$name/lint")"
  (cd "$scratch/$name" && PYTHONDONTWRITEBYTECODE=1 /usr/bin/python3 "$xml2st/xml2st.py" --generate-st plc.xml \
    >log 2>&1) || fail "$name: xml2st failed: $(cat "$scratch/$name/log")"
  [[ -s $scratch/$name/program.st ]] || fail "$name: xml2st wrote no Structured Text: $(cat "$scratch/$name/log")"
  for line in "$@"; do
    grep -qxF -- "$line" <(sed 's/^ *//' "$scratch/$name/program.st") ||
      fail "$name: no line \"$line\" in the Structured Text:
$(cat "$scratch/$name/program.st")"
  done
}

check bytes image_worked_example -- "N12_I9 AT %IB4 : BYTE;" "Command AT %QB0 : BYTE;"
check typed typed_worked_example -- "Status AT %IW0 : WORD;" "Speed AT %IW2 : INT;"
check swapped typed_worked_example --swap-pou -- \
  "Status_RAW AT %IW0 : WORD;" "Status : WORD;" "Speed_RAW AT %IW2 : WORD;" "Speed : INT;" \
  "PROGRAM SwapTagBytes" "Speed := WORD_TO_INT(ROL(Speed_RAW, 8));" "PROGRAM SwapTags : SwapTagBytes;"
check little typed_worked_example --swap-pou --plc-byte-order little -- "Speed AT %IW2 : INT;"
grep -q "PROGRAM" "$scratch/little/program.st" && fail "little: a program where no tag is swapped"
check all_types typed_all_types --swap-pou -- \
  "Position_RAW AT %ID4 : DWORD;" "Position : DINT;" "Energy_RAW AT %IL24 : LWORD;" "Energy : LREAL;" \
  "Torque AT %IW32 : UINT;" "MaxFlow_RAW AT %QD2 : DWORD;" "Pattern_RAW AT %QL6 : LWORD;" \
  "FUNCTION SwapDwordBytes : DWORD" "FUNCTION SwapLwordBytes : LWORD" "FUNCTION RealFromBits : REAL" \
  "FUNCTION LrealFromBits : LREAL" "FUNCTION BitsOfReal : DWORD" "Flow := RealFromBits(SwapDwordBytes(Flow_RAW));" \
  "MaxFlow_RAW := SwapDwordBytes(BitsOfReal(MaxFlow));" "FUNCTION BitsOfLreal : LWORD" \
  "Pattern_RAW := SwapLwordBytes(BitsOfLreal(Pattern));" \
  "Energy := LrealFromBits(SwapLwordBytes(Energy_RAW));" "Setpoint_RAW := ROL(INT_TO_WORD(Setpoint), 8);" \
  "PROGRAM SwapTags : SwapTagBytes;"
exit 0
