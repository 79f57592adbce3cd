#!/usr/bin/env bash
# Stores OPENROUTER_API_KEY from the project's .env.local (if there is one) in the Secret
# Service under the service and account Plimbo reads, so a local build finds its key without
# the key ever being built into the program. The file is read as data, never run.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
env_file=${1:-$root/.env.local}
[ -f "$env_file" ] || exit 0

key=$(sed -n -E 's/^[[:space:]]*(export[[:space:]]+)?OPENROUTER_API_KEY[[:space:]]*=[[:space:]]*//p' \
    "$env_file" | tail -n1)
# Optional surrounding quotes and trailing whitespace or carriage return.
key=$(printf %s "$key" | sed -E 's/[[:space:]]+$//; s/^"(.*)"$/\1/; s/^'"'"'(.*)'"'"'$/\1/')
[ -n "$key" ] || exit 0

if printf %s "$key" | timeout 10 secret-tool store --label="Plimbo OpenRouter API key" \
    service com.plimbo.utility account openrouter-api-key 2>/dev/null; then
    echo "Stored OPENROUTER_API_KEY from $(basename "$env_file") in the keyring."
else
    echo "Could not store OPENROUTER_API_KEY in the keyring (no Secret Service running?)." >&2
fi
