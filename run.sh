#!/usr/bin/env bash
# Builds and starts a program: ./run.sh prendix (or ./run.sh vextora).
#
# Installs what the machine lacks, builds a release into build/run, starts the
# printer simulator (qmr770-sim) and offers its pty in the program's port list
# through QMR770_PORTS; the simulator's log of commands and printed paper goes
# to this terminal, and the simulator stops when the program exits.
# With QMR770_PRINTER set to a serial device (QMR770_PRINTER=/dev/ttyUSB0)
# no simulator is started and that device is offered instead.
#
# The simulated printer keeps its state in one file for both programs
# ($XDG_STATE_HOME/qmr770/printer.state, ~/.local/state/... by default), so
# a printer fiscalised in Prendix is fiscalised in Vextora. QMR770_START=blank
# (or ready, fiscalised) starts it over from that state.
set -euo pipefail
cd "$(dirname "$0")"

case "${1:-}" in
  prendix) target=Prendix; program=init-utility/Prendix ;;
  vextora) target=Vextora; program=test-utility/Vextora ;;
  *) echo "usage: ./run.sh prendix|vextora" >&2; exit 2 ;;
esac

scripts/setup.sh
dir=build/run
# Warnings stop the test builds (test.sh), not a user who wants to run a program.
cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=Release -DQMR_WERROR=OFF >/dev/null
cmake --build "$dir" -j"$(nproc)" --target "$target" qmr770-sim

if [ -n "${QMR770_PRINTER:-}" ]; then
  export QMR770_PORTS="$QMR770_PRINTER${QMR770_PORTS:+:$QMR770_PORTS}"
  exec "$dir/$program"
fi

state_dir="${XDG_STATE_HOME:-$HOME/.local/state}/qmr770"
mkdir -p "$state_dir"
sim_args=(--state "$state_dir/printer.state")
if [ -n "${QMR770_START:-}" ]; then sim_args+=(--start "$QMR770_START"); fi
coproc SIM { exec "$dir/simulator/qmr770-sim" "${sim_args[@]}"; }
sim_pid=$SIM_PID
stop_simulator() { kill "$sim_pid" 2>/dev/null || true; wait "$sim_pid" 2>/dev/null || true; }
trap stop_simulator EXIT
if ! read -r -t 10 pty <&"${SIM[0]}" || [ -z "$pty" ]; then
  echo "run.sh: the simulator did not start" >&2
  exit 1
fi
echo "printer simulator on $pty, its state in $state_dir/printer.state"
exec {sim_log}<&"${SIM[0]}"  # a background job cannot read the coprocess's own descriptor
cat <&"$sim_log" &
export QMR770_PORTS="$pty${QMR770_PORTS:+:$QMR770_PORTS}"
"$dir/$program"
