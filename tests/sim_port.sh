# Sourced by test scripts that start zorvan-sim in the background with its standard
# output in a file. sim_port FILE waits up to ten seconds for the first line zorvan-sim
# writes, the path of its port, and prints it; it prints nothing when none came.
sim_port() {
  for _ in $(seq 200); do
    [ -s "$1" ] && break
    sleep 0.05
  done
  head -n 1 "$1"
}
