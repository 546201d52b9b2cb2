# fish completion for korvane-cli. The options of each command are those of
# its command table; a test keeps the two in step.
set -l commands list search show export import backup restore check version help
complete -c korvane-cli -f
complete -c korvane-cli -n "not __fish_seen_subcommand_from $commands" -a "$commands"
complete -c korvane-cli -n "not __fish_seen_subcommand_from $commands" -s V -l version -d "the version"
complete -c korvane-cli -n "__fish_seen_subcommand_from help" -a "$commands"
# Each command, then its options as short/long names ("/force": no short).
for entry in "list d/database f/format q/quiet h/help" \
        "search d/database f/format q/quiet h/help" \
        "show d/database f/format q/quiet h/help" \
        "export d/database f/format o/output /spreadsheet-safe /force q/quiet h/help" \
        "import d/database f/format /dry-run /keep-duplicates q/quiet h/help" \
        "backup /force q/quiet h/help" \
        "restore q/quiet h/help" \
        "check d/database q/quiet h/help" \
        "version q/quiet h/help"
    set -l words (string split " " $entry)
    for option in $words[2..-1]
        set -l names (string split / $option)
        if test -n "$names[1]"
            complete -c korvane-cli -n "__fish_seen_subcommand_from $words[1]" -s $names[1] -l $names[2]
        else
            complete -c korvane-cli -n "__fish_seen_subcommand_from $words[1]" -l $names[2]
        end
    end
end
complete -c korvane-cli -n "__fish_seen_subcommand_from list search show export import check" -s d -l database -x -a "1 2 3 4 work games tools misc all"
complete -c korvane-cli -n "__fish_seen_subcommand_from list search" -s f -l format -x -a "table csv json"
complete -c korvane-cli -n "__fish_seen_subcommand_from show" -s f -l format -x -a "text csv json"
complete -c korvane-cli -n "__fish_seen_subcommand_from export import" -s f -l format -x -a "csv json keepass-xml"
complete -c korvane-cli -n "__fish_seen_subcommand_from export" -s o -l output -r -F
complete -c korvane-cli -n "__fish_seen_subcommand_from import backup restore" -F
