# Sourced by the scripts and benchmarks, after they set `top`.

# at_exit COMMAND: runs the shell text COMMAND when the script ends, however
# it ends; steps given later run first, as they were set up last (a package
# installed into a scratch folder is removed before the folder goes).
exit_steps=${exit_steps:-}  # sourced twice, the steps stay
at_exit() {
  exit_steps="$1; $exit_steps"
  # shellcheck disable=SC2064 # the steps are fixed now, not at exit
  trap "$exit_steps" EXIT
}

# scratch_folder NAME [VARIABLE [UNDER]]: makes a fresh folder
# quorvel-NAME-XXXXXX under UNDER (default $TMPDIR, or /tmp) and sets
# VARIABLE (default `work`) to it. The folder goes when the script ends,
# unless KEEP is set: then its name is printed, to look at what the runs
# left there.
scratch_folder() {
  local made
  made=$(mktemp -d "${3:-${TMPDIR:-/tmp}}/quorvel-$1-XXXXXX")
  printf -v "${2:-work}" '%s' "$made"
  if [ -n "${KEEP:-}" ]; then
    echo "kept: $made"
  else
    at_exit "rm -rf $(printf '%q' "$made")"
  fi
}
