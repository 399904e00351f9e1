# Runs inside the new guest once, as root: the user, the share, the agent that
# the host talks to, and a boot that starts nothing the tests do not need.
set -eu
echo tablet > /etc/hostname
useradd --create-home --uid 1000 --groups video,input,render --shell /bin/sh tablet
cat > /etc/fstab <<'END'
/dev/vda / ext4 rw,noatime 0 1
share /mnt/share 9p trans=virtio,version=9p2000.L,msize=262144 0 0
END
mkdir -p /mnt/share
printf 'uinput\n9p\n9pnet_virtio\n' > /etc/modules-load.d/tablet.conf
cat > /etc/systemd/system/tablet-agent.service <<'END'
[Unit]
Description=The test rig's agent on the control port
Requires=mnt-share.mount
After=mnt-share.mount systemd-udev-settle.service dbus.service
[Service]
ExecStart=/usr/bin/python3 /mnt/share/guest/agent.py /dev/virtio-ports/tablet.control
[Install]
WantedBy=multi-user.target
END
systemctl enable tablet-agent.service
# Nothing that runs on a timer, waits for a network or asks for a login.
systemctl mask apt-daily.timer apt-daily-upgrade.timer e2scrub_all.timer fstrim.timer \
  systemd-timesyncd.service getty@tty1.service serial-getty@ttyS0.service \
  systemd-networkd-wait-online.service man-db.timer dpkg-db-backup.timer 2>/dev/null || true
# Nor what loads modules and mounts file systems the tablet's stack never uses: under emulation each
# unit's start takes seconds of the two cores.
systemctl mask modprobe@dm_mod.service modprobe@efi_pstore.service modprobe@fuse.service \
  modprobe@loop.service modprobe@configfs.service modprobe@drm.service systemd-pstore.service \
  dev-hugepages.mount dev-mqueue.mount sys-kernel-debug.mount sys-kernel-tracing.mount
systemctl set-default multi-user.target
# An initramfs that only finds the root disk: the default one brings most of the kernel's drivers, which
# take seconds to unpack and load under emulation.
sed -i 's/^MODULES=.*/MODULES=list/' /etc/initramfs-tools/initramfs.conf
printf 'virtio_pci\nvirtio_blk\next4\ncrc32c_generic\n' >> /etc/initramfs-tools/modules
update-initramfs -u -k all
