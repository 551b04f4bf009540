# Sourced by the scripts and benchmarks, after they set `top`.

# scratch_folder NAME: makes a fresh folder quorvel-NAME-XXXXXX under
# $TMPDIR (or /tmp) and sets `work` to it. The folder goes when the script
# ends, unless KEEP is set: then its name is printed, to look at what the
# runs left there.
scratch_folder() {
  work=$(mktemp -d "${TMPDIR:-/tmp}/quorvel-$1-XXXXXX")
  [ -z "${KEEP:-}" ] || echo "kept: $work"
  trap '[ -n "${KEEP:-}" ] || rm -rf "$work"' EXIT
}
