# fish completion for quillbox, the Quillbox window program
complete -c quillbox -f
complete -c quillbox -n __fish_is_first_arg -l encrypt -d "Encrypt each file as the window's Encrypt button does"
complete -c quillbox -n __fish_is_first_arg -l decrypt -d "Decrypt each file as the window's Decrypt button does"
complete -c quillbox -n __fish_is_first_arg -l open -d 'Open the window with a file as the source'
complete -c quillbox -n __fish_is_first_arg -s h -l help -d 'Show the help'
complete -c quillbox -n __fish_is_first_arg -l version -d 'Show the version'
complete -c quillbox -n '__fish_seen_argument -l encrypt' -F
complete -c quillbox -n '__fish_seen_argument -l decrypt' -k -a '(__fish_complete_suffix .enc)'
complete -c quillbox -n '__fish_seen_argument -l open; and test (count (commandline -opc)) -eq 2' -F
