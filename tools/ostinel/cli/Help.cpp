#include "cli/Help.h"

namespace ostinel::cli {

const char* const kGeneralHelp = R"(ostinel: the Ostinel plug-in without a DAW

Usage:
  ostinel map IN.mid OUT.mid [options]       map a MIDI file, or a folder of them, through the
                                             plug-in binary
  ostinel dump FILE.quorvatp [options]       show a preset or saved host chunk as text or JSON
  ostinel build FILE.json -o FILE.quorvatp   write a preset from JSON as dump prints it
  ostinel info [--plugin PATH]               show what a host sees when it loads the plug-in
  ostinel edit [FILE.quorvatp] [options]     edit a preset in the plug-in's own editor, in a
                                             window of its own; Ctrl+S saves
  ostinel help COMMAND                       more about one command (also: COMMAND --help)

Exit status: 0 done, 1 failed (the reason is printed), 2 wrong command line.
)";

const char* const kMapHelp =
    R"(Usage: ostinel map IN OUT [--preset FILE] [--plugin PATH] [--block N] [--rate HZ]
                   [--seed N] [--table N] [--like-daw]

Plays the Standard MIDI File IN (format 0 or 1) through the Ostinel plug-in binary, loaded the
way a DAW loads it (VST 2.4 entry point, time info with the transport playing), and writes every
event the plug-in returns to the MIDI file OUT, together with every event of IN the plug-in does
not handle (program changes, SysEx, meta events), so that nothing of the song is lost. When OUT
is an existing folder the output gets IN's file name in it.

With a folder as IN, every .mid and .midi file in it (not in its subfolders) is mapped into the
folder OUT (created when missing) under the same name. Progress shows on a terminal; a file that
fails is reported and the others are still mapped. The exit status is 1 if any file failed.

Options:
  --preset FILE   the state to load with effSetChunk: a .quorvatp preset or a saved host chunk.
                  Without it the plug-in starts as in a DAW: with the user's "init" preset when
                  there is one, else with its default map (channel 1 active, every note onto
                  itself; other channels pass through).
  --plugin PATH   the plug-in binary (default: the one built beside this tool)
  --block N       samples per processing block, 1 to 65536 (default 512)
  --rate HZ       sample rate, 8000 to 384000 (default 44100)
  --seed N        seed of the plug-in's random generator, 0 to 4294967295 (default 1). Every
                  track's instance gets the same seed, so a run can be repeated exactly.
  --table N       also print the first N note-ons beside what the plug-in made of them
                  (0 to 1000, default 0)
  --like-daw      write exactly what a host gets back: program changes are played to the
                  plug-in, which drops them, and SysEx is left out (meta events are still
                  kept: they are the file's tempo, names and markers)

How a file is played:
  Every track is played through its own plug-in instance, and what that instance returns goes
  to the same track of OUT: an instance sees only its own track's notes, so each note-off
  releases exactly what its note-on started. Format, division and track order stay as in IN.
  Ticks become sample positions through the file's tempo map; each event enters its block at
  its offset. Returned events go back to ticks: to the input's tick when they come at an input
  event's offset, else to the nearest tick, never before their block.
  Notes, controllers, pitch bend and pressure go through the plug-in. Program changes, SysEx
  and meta events (tempo, time signature, names, ...) do not: they are kept unchanged in their
  track at their tick (with --like-daw only the meta events are). At equal ticks the kept events
  come first, in IN's order, then the plug-in's events in the order it returned them, so a
  program change reaches the synthesizer before the notes of its tick.
  Stretches without events are played for two blocks; the whole blocks after that up to the
  next event are passed over (the transport moves on by their length), which changes nothing in
  what the plug-in returns. After the last event two more blocks are played. If IN leaves notes
  sounding at the end of a track, the transport then returns to the start, which makes the
  plug-in release every note it started; those note-offs are written at the track's end.
  Nothing else is added.

Summary:
  events in        channel messages of IN played to the plug-in (notes, controllers, pitch
                   bend, pressure; with --like-daw also program changes)
  events out       channel messages the plug-in returned; all of them are written to OUT
  notes remapped   note-ons of IN (velocity above 0) that the plug-in played as anything but the
                   same note on the same channel alone: another note or channel, or added notes
  notes dropped    note-ons of IN that the plug-in played as no sounding note: outside the
                   channel's range, no target note, not chosen by probability, or velocity
                   scaled to 0
  kept             events of IN written to OUT without the plug-in, by kind: program
                   changes, system exclusive, meta events (the end of a track not counted)
  dropped          events of IN that are not in OUT, by kind: with --like-daw the program
                   changes (the plug-in drops them) and the SysEx; otherwise none
  When several notes start at the same sample, the output note-ons are matched to them in order
  with the targets of the plug-in's current state.
)";

const char* const kDumpHelp = R"(Usage: ostinel dump FILE [--format text|json] [--lowest-octave N]

Shows a preset file (.quorvatp) or a saved host chunk (program or bank chunk): the header, the
CC assignments, every channel's active flag and range, and the rows whose values differ from the
default map, with note labels such as "060 - C3".

Options:
  --format text|json   text to read (default), or JSON to edit and turn back into a preset with
                       'ostinel build'; build gives back the same bytes
  --lowest-octave N    the octave number of note 0 in labels: -2 (default), -1 or 0

A file whose bytes are not the ones the plug-in writes for its state (other value encodings,
bytes after the state) is shown with a note; build writes the plug-in's form of the same state.
)";

const char* const kBuildHelp = R"(Usage: ostinel build FILE.json -o OUT.quorvatp

Writes the preset described by the JSON file, in the format 'ostinel dump --format json' prints.
Fields (* required; the others default as shown):
  "container"        "preset" or "bank" (a bank chunk of one program); default "preset"
  "version"          text, default "1.00"
  "name"             the preset name, default ""
  "headerTexts"      two texts, default ["", ""]
  "selectedChannel"  1 to 16, default 1
  "ccAssignments"    [{"parameter"*: text, "cc"*: 0 to 127}, ...], default []
  "channels"*        [channel, ...]; channels not listed keep their defaults
    "channel"*       1 to 16
    "active"*        true or false
    "rangeFrom"      0 to 127, default 0      "rangeTo"   0 to 127, default 127
    "rows"           [row, ...]; rows not listed keep their defaults (the note onto itself)
      "note"*        0 to 127, the input note
      "sourceNote"   a whole number, default: the note
      "label"        ignored (dump writes note names here)
      "targets"*     1 to 3 targets; targets not listed play no note
        "note"*          -1 to 127 (-1: no note)
        "channel"        1 to 16, default: the row's channel
        "probability"    0 to 100, default 100
        "velocityScale"  -100 to 100, default 0
        "random"         0 to 200, default 0
        "label"          ignored
Unknown fields are errors. An error names its place (for example
"channels[0].rows[2].targets[1].probability") with its line and column, and no file is written.

Options:
  -o, --output FILE   the preset file to write (required)
)";

const char* const kInfoHelp = R"(Usage: ostinel info [--plugin PATH]

Loads the plug-in binary as a host does and prints what the host sees: entry point, effect and
product name, vendor, unique ID, versions, flags, category, programs, parameters, inputs and
outputs, the answers to the usual canDo questions, and the size of its state chunk.

Options:
  --plugin PATH   the plug-in binary (default: the one built beside this tool)
)";

const char* const kEditHelp = R"(Usage: ostinel edit [FILE.quorvatp] [-o OUT] [--plugin PATH]

Opens the plug-in's own editor in a window of its own, on an instance of the plug-in binary
loaded as a host loads it. With FILE the preset (or saved host chunk) is loaded into the
instance first; a file that cannot be read or is not a preset is reported before any window
opens. Without FILE the instance starts as in a DAW (with the user's "init" preset when there
is one).

Saving:
  Ctrl+S          writes the instance's state to the file (OUT when given, else FILE). The file
                  is written under a temporary name and renamed into place, so a failed save
                  keeps the old file; the reason is shown in the window. A bank chunk stays a
                  bank chunk. Without FILE and OUT there is nowhere to save: Ctrl+S says so.
  Save Preset     in the editor's menu works as in a DAW (the presets folder).
The title shows the file name, with "*" while the state differs from the one loaded or last
saved. Closing the window with unsaved changes asks "Save changes to NAME?": Yes saves and
closes (a failed save keeps the window open), No closes without saving, Cancel keeps editing.

Options:
  -o, --output OUT  save to OUT instead of FILE (OUT may be a new file)
  --plugin PATH     the plug-in binary (default: the one built beside this tool)

Needs a display: on Linux an X server (DISPLAY), else "cannot open display".
)";

} // namespace ostinel::cli
