#!/usr/bin/env bash
# Starts and stops the real parts of the streaming tests: the local HTTP
# server (plain, TLS with a test authority's certificate, TLS with a
# certificate nobody vouches for) and tinyproxy, all on 127.0.0.1.
#   servers.sh start RUN_DIR ROOT   serve the files of ROOT; ports in RUN_DIR
#   servers.sh stop RUN_DIR         end both and remove nothing else
# RUN_DIR afterwards holds: port, port-trusted, port-untrusted, proxy-port,
# ca.pem (the test authority), requests.log, tinyproxy.log and served (a link
# to ROOT).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
action=${1:?usage: servers.sh start|stop RUN_DIR [ROOT]}
run=${2:?usage: servers.sh start|stop RUN_DIR [ROOT]}

stop() {
  local pid_file
  for pid_file in "$run"/server.pid "$run"/tinyproxy.pid; do
    [ -f "$pid_file" ] || continue
    kill "$(cat "$pid_file")" 2>/dev/null || true
    rm -f "$pid_file"
  done
}

if [ "$action" = stop ]; then
  stop
  exit 0
fi

root=$(realpath -m "${3:?usage: servers.sh start RUN_DIR ROOT}")
stop
rm -rf "$run"
mkdir -p "$run"
cd "$run"
# The tests compare what they read with the files themselves.
ln -s "$root" served

# A test authority and a server certificate from it for localhost (so that
# 127.0.0.1 is another name to it); and one for localhost that signs itself.
openssl req -x509 -newkey rsa:2048 -nodes -keyout ca.key -out ca.pem -days 3 -subj "/CN=Quavera Test Authority" \
  2>/dev/null
openssl req -newkey rsa:2048 -nodes -keyout server.key -out server.csr -subj "/CN=localhost" 2>/dev/null
printf 'subjectAltName=DNS:localhost\nbasicConstraints=CA:FALSE\nextendedKeyUsage=serverAuth\n' \
  > server.ext
openssl x509 -req -in server.csr -CA ca.pem -CAkey ca.key -CAcreateserial -out server.pem -days 3 \
  -extfile server.ext 2>/dev/null
openssl req -x509 -newkey rsa:2048 -nodes -keyout self.key -out self.pem -days 3 -subj "/CN=localhost" \
  -addext "subjectAltName=DNS:localhost" 2>/dev/null

setsid python3 "$here/test_server.py" "$root" "$run" --tls server.pem server.key trusted \
  --tls self.pem self.key untrusted </dev/null >server.out 2>&1 &
echo $! > server.pid

proxy_port=$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
cat > tinyproxy.conf <<CONF
Port $proxy_port
Listen 127.0.0.1
Timeout 60
LogFile "$run/tinyproxy.log"
LogLevel Info
MaxClients 20
Allow 127.0.0.1
CONF
setsid tinyproxy -d -c tinyproxy.conf </dev/null >tinyproxy.out 2>&1 &
echo $! > tinyproxy.pid
echo "$proxy_port" > proxy-port

for _ in $(seq 100); do
  [ -s port ] && [ -s port-trusted ] && [ -s port-untrusted ] && [ -s tinyproxy.log ] && exit 0
  sleep 0.1
done
echo "servers.sh: the servers did not start" >&2
cat server.out tinyproxy.out >&2
stop
exit 1
