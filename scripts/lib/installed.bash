# Where the installed program and everything that points at it live, for the
# current user; shared by install.sh and uninstall.sh.

data_home=${XDG_DATA_HOME:-$HOME/.local/share}
config_home=${XDG_CONFIG_HOME:-$HOME/.config}

# The program folder: the program, its settings, its sound and the user's datas/.
folder=$data_home/quendar
bin_home=$HOME/.local/bin
# The programs of the folder that get a link in bin_home.
linked_programs=(quendar quendar-ics)
desktop_entry=$data_home/applications/quendar.desktop
autostart_entry=$config_home/autostart/quendar.desktop
icon=$data_home/icons/hicolor/scalable/apps/quendar.svg
metainfo=$data_home/metainfo/io.github.quendar.Quendar.metainfo.xml

# True while a copy of the program runs from the folder: the running copy
# holds a lock on the folder itself.
program_running() {
  [ -d "$folder" ] && ! flock -n "$folder" true
}

# True when $1 is a link to the program of that name in the folder, the only
# kind of file in bin_home that is ours to replace or remove.
our_link() {
  [ -L "$bin_home/$1" ] && [ "$(readlink "$bin_home/$1")" = "$folder/$1" ]
}
