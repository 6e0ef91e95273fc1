# Sourced by the scripts whose programs refuse root (XScreenSaver, sway, weston): sets user to the
# one running the script, or as root to an unprivileged system user of their own, made the first
# time. Two of those tests may run at once: the other one may make the user first.
user=$(id -un)
if [ "$(id -u)" -eq 0 ]; then
    user=vintrel-saver
    id "$user" >/dev/null 2>&1 ||
        useradd --system --no-create-home --home-dir /nonexistent --shell /usr/sbin/nologin "$user" ||
        id "$user" >/dev/null
fi
# What runs a program as that user: setpriv, which runs the program itself rather than a session
# round it, so that a signal sent to the pid of what started in the background reaches it; nothing
# where the user is the one running the script.
as_saver_user=()
[ "$(id -un)" = "$user" ] || as_saver_user=(setpriv --reuid="$user" --regid="$user" --clear-groups)
