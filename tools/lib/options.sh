# Sourced by the tools: the command line they all read the same way.
#   - A value option is given as "--name value" or "--name=value".
#   - An unknown option, or a missing or malformed value, prints "<tool>: <problem>" and the tool's usage on
#     stderr and exits with status 2, before anything is built or run.
#   - -h or --help prints the usage on stdout and exits with status 0.
# The usage is the tool's header: its comment lines from the second line down to the first bare "#" or
# line of code.
# A tool reads its options like this:
#   while [ $# -gt 0 ]; do
#       case "$1" in
#           --seed | --seed=*) take_integer --seed "$@"; seed=$OPTION_VALUE; shift "$OPTION_WORDS" ;;
#           *) refuse_option "$1" ;;
#       esac
#   done

# usage [status]: prints the usage and exits with the status (default 2).
usage() {
    local status=${1:-2} text
    text=$(awk 'NR == 1 { next } $0 == "#" || !/^#/ { exit } { sub(/^# ?/, ""); print }' "$0")
    if [ "$status" -eq 0 ]; then
        printf '%s\n' "$text"
    else
        printf '%s\n' "$text" >&2
    fi
    exit "$status"
}

# usage_error <problem>: exits with status 2 after the problem and the usage.
usage_error() {
    echo "$(basename "$0" .sh): $1" >&2
    usage 2
}

# refuse_option <argument>: the end of a tool's option list: help for -h and --help, else an unknown option.
refuse_option() {
    case "$1" in
        -h | --help) usage 0 ;;
        *) usage_error "unknown option $1" ;;
    esac
}

# no_options "$@": for tools that take no options: refuses any argument that looks like one.
no_options() {
    local argument
    for argument in "$@"; do
        case "$argument" in
            -*) refuse_option "$argument" ;;
        esac
    done
}

# take_value <option> "$@": reads the value of <option>, which is the first argument ("--name value" or
# "--name=value"), into OPTION_VALUE, and how many arguments it took into OPTION_WORDS.
take_value() {
    local option=$1
    shift
    case "$1" in
        "$option="*) OPTION_VALUE=${1#"$option="}; OPTION_WORDS=1 ;;
        "$option")
            [ $# -ge 2 ] || usage_error "$option needs a value"
            OPTION_VALUE=$2
            OPTION_WORDS=2
            ;;
        *) refuse_option "$1" ;;
    esac
    [ -n "$OPTION_VALUE" ] || usage_error "$option needs a value"
}

# take_integer <option> "$@": take_value for a value that must be a 64-bit signed integer (a seed, a count),
# written plainly ("-0007" becomes "-7").
take_integer() {
    take_value "$@"
    [[ $OPTION_VALUE =~ ^(-?)0*([0-9]+)$ ]] && fits_int64 "${BASH_REMATCH[1]}" "${BASH_REMATCH[2]}" \
        || usage_error "$1 needs an integer, not '$OPTION_VALUE'"
    OPTION_VALUE=${BASH_REMATCH[1]}${BASH_REMATCH[2]}
    [ "$OPTION_VALUE" != -0 ] || OPTION_VALUE=0
}

# fits_int64 <sign> <digits without leading zeros>
fits_int64() {
    local limit=9223372036854775807
    [ -z "$1" ] || limit=9223372036854775808
    [ ${#2} -lt 19 ] || { [ ${#2} -eq 19 ] && [[ ! $2 > $limit ]]; }
}
