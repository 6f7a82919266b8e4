#!/usr/bin/env bash
# The console analyser's contract, as other tools call it.
set -uo pipefail
tool=$1
failures=0

check() {  # name, expected, actual
  if [ "$2" != "$3" ]; then
    echo "FAIL: $1"
    diff <(printf '%s\n' "$2") <(printf '%s\n' "$3")
    failures=$((failures + 1))
  fi
}

check "example" "有效帧:10 49 01 4A 16  【召唤链路状态 1#】" "$("$tool" analyse "10 49 01 4A 16")"

check "verdict after each burst" "$(printf '%s\n' \
  "有效帧:10 0B 01 0C 16  【1#链路完好】" "verdict: 3" \
  "有效帧:E5  【无变化遥信量】" "verdict: 2")" \
  "$("$tool" analyse --verdict "10 0B 01 0C 16" e5)"

check "pane normalisation" "有效帧:10 49 01 4A 16  【召唤链路状态 1#】" "$("$tool" analyse "0x10,0x49,0x01,0x4a,0x16")"

check "stdin lines are bursts, empty ones too" "$(printf '%s\n' \
  "有效帧:10 29 01 2A 16  【1#有变化遥信 】" "verdict: 1" "没有有效的101报文帧" "verdict: 0")" \
  "$(printf '10 29 01 2A 16\r\n\n' | "$tool" analyse --verdict)"

tab=$'\t'
check "tables accumulate over bursts" "$(printf '%s\n' \
  "有效帧:68 0A 0A 68 08 01 09 01 03 01 02 00 E8 03 04 16  【#1变化遥测帧   共1个变化遥测量】" \
  "有效帧:68 0C 0C 68 28 03 02 01 03 01 02 00 00 39 30 0C A9 16  【【3#事件纪录帧】】" \
  "[GrdYC]" "${tab}遥测量${tab}单位${tab}比例${tab}1#设备" "1${tab}${tab}${tab}${tab}" "2${tab}${tab}${tab}${tab}1000" \
  "3${tab}${tab}${tab}${tab}" "4${tab}${tab}${tab}${tab}" \
  "[GrdYX]" "${tab}遥信量${tab}0的意义${tab}1的意义${tab}3#设备" "1${tab}${tab}${tab}${tab}" "2${tab}${tab}${tab}${tab}" \
  "3${tab}${tab}${tab}${tab}" "4${tab}${tab}${tab}${tab}" \
  "[GrdSJ]" "${tab}时间${tab}遥信量${tab}状态")" \
  "$("$tool" analyse --tables "68 0A 0A 68 08 01 09 01 03 01 02 00 E8 03 04 16" \
     "68 0C 0C 68 28 03 02 01 03 01 02 00 00 39 30 0C A9 16" | sed 's/^1\t[0-9]* 时12 分12 秒345 毫秒\t\t$/EVENT/' | grep -v EVENT)"
check "the event row" "1" "$("$tool" analyse --tables "68 0C 0C 68 28 03 02 01 03 01 02 00 00 39 30 0C A9 16" \
  | grep -c $'^1\t[0-9]* 时12 分12 秒345 毫秒\t\t$')"

check "one octet per value" "有效帧:68 0A 0A 68 08 01 09 02 14 01 01 40 05 FB 6A 16  【1# 遥测回复帧   共2个遥测量】" \
  "$("$tool" analyse --yc-bytes 1 "68 0A 0A 68 08 01 09 02 14 01 01 40 05 FB 6A 16")"
check "bit mode count" "有效帧:68 09 09 68 08 01 01 88 14 01 01 00 05 AD 16  【1# 遥信回复帧   共8个遥信量】" \
  "$("$tool" analyse --yx-mode=1 "68 09 09 68 08 01 01 88 14 01 01 00 05 AD 16")"

# 报文详解: indented text under each account line; JSON Lines and nothing else.
check "explain under each account line" "$(printf '%s\n' \
  "第1个有效帧:10 0B 01 0C 16  【1#链路完好】" "  链路层 (link)" "    固定帧长帧, 启动字符 10" \
  "    控制域 C=0x0B: PRM=0 从动站, ACD=0 无一级数据, DFC=0 可以接收后续报文, 功能码 FC=11 链路状态或访问请求 (status of link or access demand)" \
  "    链路地址 A=1" "    校验和 CS=0x0C 正确" "    结束字符 16" \
  "第2个有效帧:E5  【无变化遥信量】" "  单字符 E5 (single character): 肯定确认 (ACK) 或无所请求的数据 (NACK)" "verdict: 2")" \
  "$("$tool" analyse --explain --verdict "10 0B 01 0C 16 E5")"
json=$("$tool" analyse --json "10 0B 01 0C 16 E5" "00" "68 0C 0C 68 28 01 02 01 03 01 05 00 01 39 30 0C AB 16")
check "json lines only, one per frame" "3" "$(printf '%s\n' "$json" | wc -l)"
check "json parses, keys of the contract" \
  "fixed 11 status of link or access demand|single|variable M_SP_TA_1 spont 5 1 12:12.345" \
  "$(printf '%s\n' "$json" | /usr/bin/python3 -c '
import json, sys
out = []
for line in sys.stdin:
    f = json.loads(line)
    if f["format"] == "fixed": out.append("fixed %d %s" % (f["link"]["fc"], f["link"]["fc_name"]))
    elif f["format"] == "single": out.append("single")
    else:
        a = f["asdu"]; o = a["objects"][0]
        out.append("variable %s %s %d %d %s" % (a["ti_name"], a["cot_name"], o["ioa"], o["value"], o["time"]))
print("|".join(out))')"

for bad in "--yc-bytes 0" "--yc-bytes 5" "--yc-bytes x" "--yx-mode 2" "--frobnicate" "--yc-bytes" "--json --explain" \
           "--json --verdict"; do
  # shellcheck disable=SC2086
  err=$("$tool" analyse $bad "E5" 2>&1 >/dev/null)
  code=$?
  check "exit code for '$bad'" "2" "$code"
  check "one message line for '$bad'" "1" "$(printf '%s\n' "$err" | wc -l)"
done

# A receive burst holds at most 65535 octets.
burst() { head -c "$1" /dev/zero | tr '\0' 'x' | sed 's/x/E5 /g'; echo; }
check "largest burst" "65535" "$(burst 65535 | "$tool" analyse | wc -l)"
burst 65536 | "$tool" analyse >/dev/null 2>&1
check "burst too large" "2" "$?"

# The workbook of the tables at the end of a run: a zip holding three sheets.
workdir=$(mktemp -d)
trap 'rm -rf "$workdir"' EXIT
"$tool" analyse --xlsx "$workdir/run.xlsx" "68 0A 0A 68 08 01 09 01 03 01 02 00 E8 03 04 16" >/dev/null
check "workbook written" "PK" "$(head -c 2 "$workdir/run.xlsx" 2>/dev/null)"
"$tool" analyse --xlsx "$workdir/no/such/folder/run.xlsx" "E5" >/dev/null 2>&1
check "unwritable workbook fails" "1" "$?"

[ $failures = 0 ] && echo "all analyse checks passed"
exit $((failures > 0))
