# fish completion for quillbox-cli, Quillbox's command-line tool
set -l commands encrypt decrypt encrypt-text decrypt-text
set -l files encrypt decrypt
complete -c quillbox-cli -f
complete -c quillbox-cli -n "not __fish_seen_subcommand_from $commands" -a encrypt -d 'Encrypt files'
complete -c quillbox-cli -n "not __fish_seen_subcommand_from $commands" -a decrypt -d 'Decrypt files'
complete -c quillbox-cli -n "not __fish_seen_subcommand_from $commands" -a encrypt-text -d 'Encrypt a text into Base64 text'
complete -c quillbox-cli -n "not __fish_seen_subcommand_from $commands" -a decrypt-text -d 'Decrypt Base64 text'
complete -c quillbox-cli -n "not __fish_seen_subcommand_from $commands" -s h -l help -d 'Show the help'
complete -c quillbox-cli -n "not __fish_seen_subcommand_from $commands" -s V -l version -d 'Show the version'

complete -c quillbox-cli -n "__fish_seen_subcommand_from $files" -s o -l output -r -F -d 'The output of a single file'
complete -c quillbox-cli -n "__fish_seen_subcommand_from $files" -s a -l armor -d 'Files as Base64 text instead of raw containers'
complete -c quillbox-cli -n "__fish_seen_subcommand_from $files" -s f -l force -d 'Replace an existing output'
complete -c quillbox-cli -n '__fish_seen_subcommand_from encrypt' -s w -l wipe -d 'Overwrite and delete each original after its encryption'
complete -c quillbox-cli -n '__fish_seen_subcommand_from encrypt-text decrypt-text' -l text -x -d 'The text'

complete -c quillbox-cli -n "__fish_seen_subcommand_from $commands" -s q -l quiet -d 'Only errors'
complete -c quillbox-cli -n "__fish_seen_subcommand_from $commands" -l password-fd -x -a '0 3 4 5 6 7 8 9' -d 'Read the password from a file descriptor'
complete -c quillbox-cli -n "__fish_seen_subcommand_from $commands" -l password-file -r -F -d 'Read the password from a file'
complete -c quillbox-cli -n "__fish_seen_subcommand_from $commands" -l password-env -x -a '(set -nx)' -d 'Read the password from an environment variable'

complete -c quillbox-cli -n '__fish_seen_subcommand_from encrypt' -F
complete -c quillbox-cli -n '__fish_seen_subcommand_from decrypt' -k -a '(__fish_complete_suffix .enc)'
