/* Virtual null-modem cable: the device end of a pty pair whose other end is a
 * serial port of Wine.
 *
 * Wine's COMn is declared on a link (build/wine/ports/comN); vline_open points
 * that link at a new pty and returns the master. The line settings the Windows
 * program asks for (the pty driver itself keeps neither parity nor data bits)
 * are kept by the preloaded shim (vlineshim.c) and published in a state file
 * that vline_settings reads:
 *     /dev/shm/vline-pts-<N>   one line:
 *     "baud=57600 parity=E data=8 stop=1 dtr=1 rts=1 seq=3"
 * parity is N, O, E, M or S; stop is 1, 15 (1.5) or 2; seq counts changes.
 */
#ifndef VLINE_H
#define VLINE_H

#include <stddef.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef struct vline_settings {
  int baud;       /* 0 while the program has set nothing */
  char parity;    /* 'N', 'O', 'E', 'M', 'S' */
  int data_bits;  /* 5..8 */
  int stop_bits;  /* 1, 15 (one and a half) or 2 */
  int dtr, rts;   /* output lines of the program */
  unsigned seq;   /* changes with every setting the program makes */
} vline_settings;

typedef struct vline {
  int master;          /* device end: read what the program writes, write answers */
  int slave_keep;      /* a slave descriptor held open so the master never sees EIO between opens */
  char slave[64];      /* "/dev/pts/N" */
  char state[96];      /* the published settings file */
  char link[4096];     /* the port link, "" if none */
} vline;

/* Creates a pty pair in raw mode and, when link is not NULL, points link at the
 * slave (replacing what was there). Resets the published settings.
 * Returns 0, or -1 with errno set. */
int vline_open(vline *v, const char *link);

/* Closes both ends and unplugs the link if it still points at this cable: the
 * program's port sees the cable go. */
void vline_close(vline *v);

/* Points a port link at nothing that opens (a folder ".dead" beside it), so the
 * program cannot open the port: a declared port without a device. */
int vline_unplug(const char *link);

/* Reads the settings the program set on the port. Returns 0, or -1 when none
 * are published yet (baud is then 0). */
int vline_settings_read(const vline *v, vline_settings *out);

/* Wire time of n characters at the given settings, in microseconds:
 * start bit, data bits, parity bit, stop bits per character. */
long vline_wire_us(const vline_settings *s, size_t n);

/* The state file of a pty slave name ("/dev/pts/7" -> "/dev/shm/vline-pts-7"). */
void vline_state_path(const char *slave, char *out, size_t n);

/* While the file "<state file>.nomodem" exists, the shim refuses to read the
 * modem lines of that pty (TIOCMGET fails with EINVAL), as a port whose driver
 * cannot report them does. Tests create it to try such a port. */
#define VLINE_NOMODEM_SUFFIX ".nomodem"

/* Publishes settings for a pty slave, as the shim does for a Windows program;
 * native tests use it in place of the shim. Returns 0, or -1 with errno set. */
int vline_settings_publish(const char *slave, const vline_settings *s);

/* Parses one state line; returns 0 on success. */
int vline_settings_parse(const char *text, vline_settings *out);

#ifdef __cplusplus
}
#endif

#endif
