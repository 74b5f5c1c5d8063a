#!/bin/sh
# qinghe-cli table sort, copy, passwd and check from the outside.
# Usage: cli_maintenance_test.sh PATH-TO-QINGHE-CLI
set -eu
cli=$1
. "$(dirname "$0")/cli_expect.sh"

"$cli" table create 加班 日期:8 G1:3 备注:10:20 附注:12
"$cli" table append 加班 2013-05-05 5 五 "$(printf '%0600d' 5)"
"$cli" table append 加班 2013-05-03 3 三 ''
"$cli" table append 加班 2013-05-04 4 四 'memo'
"$cli" table delete-last 加班

expect passwd 0 "$(status "$cli" table passwd 加班 秘密)"
expect needs-password 1 "$(status "$cli" table info 加班)"
expect question-mark "error -80: 无效的密码文本" \
    "$("$cli" table passwd 加班 '?' --password 秘密 2>&1 || true)"

"$cli" table sort 加班 临时加班 日期 --password 秘密
expect sorted "$(printf '1\t41397\t3\n-2\t41398\t4\n3\t41399\t5')" \
    "$("$cli" table dump 临时加班 --password 秘密 | cut -f1-3)"
"$cli" table sort 加班 倒序 日期:desc --password 秘密
expect descending "$(printf '1\t41399\t5\n-2\t41398\t4\n3\t41397\t3')" \
    "$("$cli" table dump 倒序 --password 秘密 | cut -f1-3)"
expect sorted-memo "$(printf '%0600d' 5)" "$("$cli" table dump 临时加班 --password 秘密 | tail -1 | cut -f5)"

"$cli" table copy 加班 备份 --password 秘密
expect copied "$("$cli" table dump 加班 --password 秘密)" "$("$cli" table dump 备份 --password 秘密)"

expect sound "$(printf '3 records, 3 blocks in values, 0 problems')" \
    "$("$cli" table check 加班 --password 秘密)"
expect sound-status 0 "$(status "$cli" table check 备份 --password 秘密)"
head -c -3 备份.EDB >短.EDB
cp 备份.EDT 短.EDT
expect damaged-status 1 "$(status "$cli" table check 短 --password 秘密)"
expect damaged "problem: the file holds 2 whole records, the header counts 3" \
    "$("$cli" table check 短 --password 秘密 | head -1)"

"$cli" table passwd 加班 '' --password 秘密
expect plain-again "3" "$("$cli" table info 加班 | sed -n 's/^count\t//p')"

expect bad-key "error -71: 未指定字段或者字段类型错误" "$("$cli" table sort 加班 x 附注 2>&1 || true)"
expect no-key 2 "$(status "$cli" table sort 加班 x)"
expect no-target 2 "$(status "$cli" table copy 加班)"
expect bad-order 2 "$(status "$cli" table sort 加班 x 日期:down)"
expect no-new-password 2 "$(status "$cli" table passwd 加班)"

[ "$failures" -eq 0 ]
