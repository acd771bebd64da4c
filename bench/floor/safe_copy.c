// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

/* The floor for saldrix_bench roundtrip: reads IN and writes the same bytes to OUT as a safe save
 * must, and nothing more: to a new file in OUT's folder, synced, renamed over OUT, and the folder
 * synced. Whatever a save costs beyond this is the parse, the document and the writer. Built by
 * bench/floor/compare only, never by the project's build. */
#define _GNU_SOURCE
#include <errno.h>
#include <fcntl.h>
#include <libgen.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

static int fail(const char *what, const char *name)
{
    fprintf(stderr, "safe_copy: %s: %s: %s\n", what, name, strerror(errno));
    return 1;
}

static int write_all(int fd, const char *data, size_t size)
{
    while (size > 0) {
        const ssize_t done = write(fd, data, size);
        if (done < 0 && errno == EINTR)
            continue;
        if (done <= 0)
            return -1;
        data += done;
        size -= (size_t)done;
    }
    return 0;
}

/* The most the process has held since exec, in MiB (wait4's figure also counts the parent's memory
 * from before the exec). */
static double peak_mb(void)
{
    char line[256];
    double kb = 0;
    FILE *status = fopen("/proc/self/status", "r");
    while (status && fgets(line, sizeof line, status)) {
        if (strncmp(line, "VmHWM:", 6) == 0)
            kb = atof(line + 6);
    }
    if (status)
        fclose(status);
    return kb / 1024;
}

int main(int argc, char **argv)
{
    if (argc != 3) {
        fputs("usage: safe_copy IN OUT\n", stderr);
        return 2;
    }
    const int in = open(argv[1], O_RDONLY | O_CLOEXEC);
    struct stat info;
    if (in < 0 || fstat(in, &info) != 0)
        return fail("open", argv[1]);
    char *bytes = malloc((size_t)info.st_size + 1);
    size_t used = 0;
    while (bytes && used < (size_t)info.st_size) {
        const ssize_t got = read(in, bytes + used, (size_t)info.st_size - used);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return fail("read", argv[1]);
        used += (size_t)got;
    }
    close(in);
    if (!bytes)
        return fail("malloc", argv[1]);

    char *copy = strdup(argv[2]);
    const char *folder = dirname(copy);
    char temporary[4096];
    snprintf(temporary, sizeof temporary, "%s~floor.XXXXXX", argv[2]);
    const int out = mkostemp(temporary, O_CLOEXEC);
    if (out < 0)
        return fail("create", temporary);
    if (write_all(out, bytes, used) != 0 || fchmod(out, 0644) != 0 || fsync(out) != 0 || close(out) != 0) {
        unlink(temporary);
        return fail("write", temporary);
    }
    if (rename(temporary, argv[2]) != 0) {
        unlink(temporary);
        return fail("rename", temporary);
    }
    const int dir = open(folder, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir < 0 || fsync(dir) != 0)
        return fail("sync", folder);
    close(dir);
    free(copy);
    free(bytes);
    printf("peak_rss_mb=%.1f\n", peak_mb());
    return 0;
}
