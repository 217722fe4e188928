# Reports what a header of FOLDER declares outside the folder's namespace:
#   awk -v folder=FOLDER -f check-namespaces.awk HEADER
# A header may open its folder's namespace (or one nested in it), module
# Global, and other namespaces only to forward-declare their classes. The
# design's own classes may stay global.
function design(name) { return name ~ /^(clsBlowfish|Form1|PasswordForm|StatusForm)$/ }
{
  line = $0
  if (depth == 0 && match(line, /^namespace [A-Za-z_0-9:]+ \{/)) {
    name = substr(line, 11, RLENGTH - 12)
    own = (name == folder || index(name, folder "::") == 1 || name == "Global")
    forward = !own
  } else if (depth == 1 && forward && line !~ /^((class|struct) [A-Za-z_0-9]+;|\}.*|)$/) {
    printf "%s:%d: only forward declarations may sit in namespace %s\n", FILENAME, FNR, name
    forward = 0
  } else if (depth == 0 && match(line, /^(class|struct|enum( class)?) [A-Za-z_0-9]+/) && line !~ /;$/) {
    split(substr(line, 1, RLENGTH), words, " ")
    declared = words[length(words)]
    if (!design(declared)) printf "%s:%d: %s is declared outside namespace %s\n", FILENAME, FNR, declared, folder
  } else if (depth == 0 && line ~ /^[A-Za-z_][A-Za-z_0-9:<>,*& ]* [*&]?[A-Za-z_0-9]+\(/ && line !~ /^(namespace|using|template|#)/) {
    printf "%s:%d: a function is declared outside namespace %s\n", FILENAME, FNR, folder
  }
  gsub(/"([^"\\]|\\.)*"|'([^'\\]|\\.)*'|\/\/.*$/, "", line)
  opens = gsub(/\{/, "{", line); closes = gsub(/\}/, "}", line)
  depth += opens - closes
  if (depth == 0) forward = 0
}
