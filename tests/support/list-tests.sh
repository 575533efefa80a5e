#!/bin/sh
# Runs a test executable under Wine for CTest. Once in a long while, on a
# loaded machine, a Wine process ends with exit code 1 and no output at all
# before the program has printed anything; when that happens to the listing
# of a test executable, CTest would lose every test in it. A listing that
# comes back empty is therefore asked for again, twice at most; a program
# that really fails at its start fails the same way each time.
wine="$1"; shift
case " $* " in
  *" --gtest_list_tests "*) ;;
  *) exec "$wine" "$@" ;;
esac
for attempt in 1 2 3; do
  output=$("$wine" "$@")
  status=$?
  if [ $status -eq 0 ] || [ -n "$output" ]; then
    printf '%s\n' "$output"
    exit $status
  fi
  sleep 1
done
exit $status
