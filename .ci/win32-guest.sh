#!/usr/bin/env bash
# The emulated x86_64 machine in which the 32-bit product runs: a Debian 12 guest with 32-bit
# Wine, built once into GUEST_DIR and then booted for each job. These machines' kernels run no
# 32-bit code at all; an x86_64 guest kernel under qemu does, so 32-bit Wine works inside.
#
#   .ci/win32-guest.sh image GUEST_DIR        build the guest when GUEST_DIR has none
#   .ci/win32-guest.sh boot GUEST_DIR JOB SHARE... run JOB (a shell script) in the guest
#
# image: debootstrap a minimal Debian 12 into GUEST_DIR/rootfs, install a kernel, 32-bit Wine
# and cmake (for ctest) in it, boot it once to make a 32-bit Wine prefix (wineboot), and write
# the result as the ext4 image GUEST_DIR/rootfs.img beside the kernel and initrd it boots
# with. Each step's log is GUEST_DIR/<step>.log.
#
# boot: starts the guest from the image (snapshot: the image never changes), with each SHARE
# folder mounted read-write at the same path inside, runs JOB with sh as root, its output in
# JOB.log and its exit status in JOB.status (both beside JOB, which must lie in a SHARE), and
# powers off. Fails when the guest does not stop within $KORVO_GUEST_TIMEOUT seconds (3600).
#
# Environment: KORVO_DEBIAN_MIRROR (http://deb.debian.org/debian), KORVO_GUEST_MEMORY (MB,
# 3072), KORVO_GUEST_KVM=1 to use KVM. Software emulation is the default: these machines show
# a /dev/kvm, but a guest started on it hangs before its kernel prints a line. qemu 7.2 faults
# emulating Wine's iret when the guest kernel uses SMAP, so the emulated processor has none.
set -euo pipefail

mirror=${KORVO_DEBIAN_MIRROR:-http://deb.debian.org/debian}
memory=${KORVO_GUEST_MEMORY:-3072}
timeout_s=${KORVO_GUEST_TIMEOUT:-3600}
packages=(linux-image-amd64 kmod tzdata wine wine64 wine32:i386 cmake)

# The guest's PID 1: mounts the shares named on the kernel command line at their paths, runs
# the job, records its status and powers the machine off.
guest_init() {
    cat <<'EOF'
#!/bin/sh
PATH=/usr/sbin:/usr/bin:/sbin:/bin
export PATH
mountpoint -q /proc || mount -t proc proc /proc
mountpoint -q /sys || mount -t sysfs sys /sys
mountpoint -q /dev || mount -t devtmpfs dev /dev
mount -t tmpfs tmp /tmp
mount -t tmpfs run /run
modprobe 9pnet_virtio
modprobe 9p
job=
for word in $(cat /proc/cmdline); do
    case "$word" in
    korvo.share*=*)
        tag=${word%%=*}
        tag=${tag#korvo.}
        path=${word#*=}
        mkdir -p "$path"
        mount -t 9p -o trans=virtio,version=9p2000.L,cache=mmap,msize=512000 "$tag" "$path"
        ;;
    korvo.job=*) job=${word#korvo.job=} ;;
    esac
done
echo "korvo-guest: running $job"
if [ -n "$job" ] && [ -f "$job" ]; then
    sh "$job" >"$job.log" 2>&1
    echo $? >"$job.status"
else
    echo "korvo-guest: no job" >&2
fi
sync
echo "korvo-guest: done"
echo o >/proc/sysrq-trigger
sleep 60
EOF
}

# Runs qemu on the image until the guest powers off; false on a time-out.
run_qemu() {
    local dir=$1 job=$2
    shift 2
    local accel=tcg cpu=max,-smap
    if [ "${KORVO_GUEST_KVM:-0}" = 1 ]; then
        accel=kvm
        cpu=host
    fi
    local args=(-machine q35,accel=$accel -cpu $cpu -smp 2 -m "$memory" -nographic -no-reboot
        -kernel "$dir/vmlinuz" -initrd "$dir/initrd.img"
        -drive "file=$dir/rootfs.img,format=raw,if=virtio,snapshot=on")
    local cmdline="root=/dev/vda rw console=ttyS0 quiet init=/sbin/korvo-init korvo.job=$job"
    local n=0 share
    for share in "$@"; do
        args+=(-virtfs "local,path=$share,mount_tag=share$n,security_model=none,id=share$n")
        cmdline+=" korvo.share$n=$share"
        n=$((n + 1))
    done
    echo "qemu: accel $accel, ${memory} MB, job $job"
    timeout "$timeout_s" qemu-system-x86_64 "${args[@]}" -append "$cmdline" </dev/null
}

# Builds the image in stages, each logged; a failed stage prints its log's tail.
build_image() {
    local dir=$1
    local rootfs=$dir/rootfs
    mkdir -p "$dir"
    # A step that finished once is not run again, so a build broken off goes on from there.
    step() {
        local name=$1
        shift
        local started=$SECONDS
        if [ -f "$dir/$name.done" ]; then
            echo "guest image: $name done before"
            return 0
        fi
        echo "guest image: $name"
        if ! "$@" >"$dir/$name.log" 2>&1; then
            echo "guest image: $name failed; the end of $dir/$name.log:"
            tail -n 30 "$dir/$name.log"
            return 1
        fi
        touch "$dir/$name.done"
        echo "guest image: $name took $((SECONDS - started)) s"
    }
    bootstrap() {
        rm -rf "$rootfs" "$dir"/*.done &&
            debootstrap --variant=minbase --arch=amd64 bookworm "$rootfs" "$mirror"
    }
    install_packages() {
        mount -t proc proc "$rootfs/proc"
        local status=0
        install_into_root || status=$?
        umount "$rootfs/proc"
        return $status
    }
    # (Run as a step's condition, these functions do not stop at a failed command by
    # themselves: each command is chained to the next.)
    install_into_root() {
        chroot "$rootfs" dpkg --add-architecture i386 &&
            chroot "$rootfs" apt-get update &&
            DEBIAN_FRONTEND=noninteractive chroot "$rootfs" apt-get install -y \
                --no-install-recommends "${packages[@]}" &&
            chroot "$rootfs" apt-get clean &&
            guest_init >"$rootfs/sbin/korvo-init" &&
            chmod 755 "$rootfs/sbin/korvo-init" &&
            cp "$rootfs"/boot/vmlinuz-* "$dir/vmlinuz" &&
            cp "$rootfs"/boot/initrd.img-* "$dir/initrd.img"
    }
    write_image() {
        rm -f "$dir/rootfs.img" &&
            mke2fs -q -t ext4 -L korvo-guest -d "$rootfs" "$dir/rootfs.img" 4G
    }
    make_prefix() {
        local share=$dir/prefix-job
        rm -rf "$share" && mkdir -p "$share" || return 1
        cat >"$share/job.sh" <<EOF
set -e
export WINEPREFIX=/root/prefix WINEARCH=win32 WINEDEBUG=-all
WINEDLLOVERRIDES="mscoree,mshtml=" wineboot -i
wineserver -w
tar -C /root -cf "$share/prefix.tar" prefix
EOF
        run_qemu "$dir" "$share/job.sh" "$share"
        [ "$(cat "$share/job.sh.status" 2>/dev/null)" = 0 ] || {
            cat "$share/job.sh.log" 2>/dev/null
            return 1
        }
        tar -C "$rootfs/root" -xf "$share/prefix.tar" && rm -rf "$share"
    }
    step debootstrap bootstrap
    step packages install_packages
    step image write_image
    step prefix make_prefix
    step image-with-prefix write_image
    rm -rf "$rootfs"
}

case "${1:-}" in
image)
    dir=${2:?usage: win32-guest.sh image GUEST_DIR}
    mkdir -p "$dir"
    dir=$(cd "$dir" && pwd)
    if [ -f "$dir/rootfs.img" ] && [ -f "$dir/vmlinuz" ] && [ -f "$dir/initrd.img" ] &&
        [ -f "$dir/complete" ]; then
        echo "guest image: cached in $dir"
        exit 0
    fi
    build_image "$dir"
    rm -f "$dir"/*.done
    touch "$dir/complete"
    ;;
boot)
    dir=$(cd "${2:?usage: win32-guest.sh boot GUEST_DIR JOB SHARE...}" && pwd)
    job=${3:?usage: win32-guest.sh boot GUEST_DIR JOB SHARE...}
    shift 3
    rm -f "$job.status" "$job.log"
    run_qemu "$dir" "$job" "$@"
    ;;
*)
    echo "usage: win32-guest.sh image GUEST_DIR | boot GUEST_DIR JOB SHARE..." >&2
    exit 2
    ;;
esac
