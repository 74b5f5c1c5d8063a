# fish completion for qinghe-cli: the subcommands, the operations of `table`,
# `journal` and `pay`, their options, the overtime kinds, the rules of `holidays`
# and `days`, the input of `tax` and the options of `contributions`.

set -l subcommands version wage tax contributions lunar holidays days table journal pay
set -l table_ops create info dump append delete-last pack zap sort copy passwd check
set -l journal_ops init record sort totals grid export chart
set -l pay_ops list settle

complete -c qinghe-cli -f
complete -c qinghe-cli -n "not __fish_seen_subcommand_from $subcommands" -l help -d 'usage'
complete -c qinghe-cli -n "not __fish_seen_subcommand_from $subcommands" -a version -d '程序版本 / version'
complete -c qinghe-cli -n "not __fish_seen_subcommand_from $subcommands" -a wage -d '工资计算 / wage calculation'
complete -c qinghe-cli -n "not __fish_seen_subcommand_from $subcommands" -a tax -d '累计预扣个税 / income tax withheld'
complete -c qinghe-cli -n "not __fish_seen_subcommand_from $subcommands" -a contributions -d '社保和公积金 / contributions from the bases'
complete -c qinghe-cli -n "not __fish_seen_subcommand_from $subcommands" -a lunar -d '农历、节气 / lunar calendar'
complete -c qinghe-cli -n "not __fish_seen_subcommand_from $subcommands" -a holidays -d '法定节假日 / holidays'
complete -c qinghe-cli -n "not __fish_seen_subcommand_from $subcommands" -a days -d '每天的类别 / kinds of days'
complete -c qinghe-cli -n "not __fish_seen_subcommand_from $subcommands" -a table -d '数据表 / table files'
complete -c qinghe-cli -n "not __fish_seen_subcommand_from $subcommands" -a journal -d '加班记录 / the journal'
complete -c qinghe-cli -n "not __fish_seen_subcommand_from $subcommands" -a pay -d '工资记录 / the pay record'

complete -c qinghe-cli -n "__fish_seen_subcommand_from tax" -F
complete -c qinghe-cli -n "__fish_seen_subcommand_from tax" -l low-income -d 'last year within 60,000'
complete -c qinghe-cli -n "__fish_seen_subcommand_from tax" -l first-wages -d 'first wages of the year'
complete -c qinghe-cli -n "__fish_seen_subcommand_from tax" -l hired -x -a '1 2 3 4 5 6 7 8 9 10 11 12' -d 'month of hire'
complete -c qinghe-cli -n "__fish_seen_subcommand_from tax" -l bonus -x -a 'separate merged' -d 'how the bonus is taxed'
complete -c qinghe-cli -n "__fish_seen_subcommand_from tax" -l medical -x -d 'own medical costs of the year'

complete -c qinghe-cli -n "__fish_seen_subcommand_from contributions" -l base -x -d 'social insurance base, yuan a month'
complete -c qinghe-cli -n "__fish_seen_subcommand_from contributions" -l fund-base -x -d 'housing fund base, yuan a month'
complete -c qinghe-cli -n "__fish_seen_subcommand_from contributions" -l rates -x -d 'pension,medical,unemployment,fund in percent'
complete -c qinghe-cli -n "__fish_seen_subcommand_from contributions" -l fixed -x -d 'fixed medical amount a month'
complete -c qinghe-cli -n "__fish_seen_subcommand_from contributions" -l fund-rounding -x -a 'fen yuan' -d 'round the fund to'
complete -c qinghe-cli -n "__fish_seen_subcommand_from contributions" -l month -x -d 'month of the city figures, YYYY-MM'
complete -c qinghe-cli -n "__fish_seen_subcommand_from contributions" -l dir -x -a "(__fish_complete_directories)" -d 'folder that holds 城市参数.txt'

complete -c qinghe-cli -n "__fish_seen_subcommand_from table; and not __fish_seen_subcommand_from $table_ops" -a "$table_ops"
complete -c qinghe-cli -n "__fish_seen_subcommand_from table; and __fish_seen_subcommand_from $table_ops" -F
complete -c qinghe-cli -n "__fish_seen_subcommand_from table" -l password -r -d 'password of the table'
complete -c qinghe-cli -n "__fish_seen_subcommand_from table; and __fish_seen_subcommand_from info dump sort copy" -l read-only -d 'open without changing it'

complete -c qinghe-cli -n "__fish_seen_subcommand_from journal; and not __fish_seen_subcommand_from $journal_ops" -a "$journal_ops"
complete -c qinghe-cli -n "__fish_seen_subcommand_from journal" -l dir -x -a "(__fish_complete_directories)" -d 'folder that holds 加班.edb'
complete -c qinghe-cli -n "__fish_seen_subcommand_from journal" -l password -r -d 'password of the journal'
complete -c qinghe-cli -n "__fish_seen_subcommand_from record" -l kind -x -a 'G1 G2 G3 事假 病假 旷工' -d 'kind of the hours'
complete -c qinghe-cli -n "__fish_seen_subcommand_from record" -l night -d 'night shift'
complete -c qinghe-cli -n "__fish_seen_subcommand_from export" -l output -r -F -d 'CSV file to write'
complete -c qinghe-cli -n "__fish_seen_subcommand_from chart" -l output -r -F -d 'SVG or PNG file to write'
complete -c qinghe-cli -n "__fish_seen_subcommand_from chart" -l year -x -d 'year to draw'

complete -c qinghe-cli -n "__fish_seen_subcommand_from pay; and not __fish_seen_subcommand_from $pay_ops" -a "$pay_ops"
complete -c qinghe-cli -n "__fish_seen_subcommand_from pay" -l year -x -d 'the year'
complete -c qinghe-cli -n "__fish_seen_subcommand_from pay" -l dir -x -a "(__fish_complete_directories)" -d 'folder that holds the pay record'
complete -c qinghe-cli -n "__fish_seen_subcommand_from pay" -l password -r -d 'password of the journal'

complete -c qinghe-cli -n "__fish_seen_subcommand_from holidays days chart" -l rules -x -a 'seed current' -d 'which rules'
