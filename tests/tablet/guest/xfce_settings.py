"""The tablet user's Xfce settings, by channel, as xfconf keeps them in the user's files.

At its first start Xfce writes what the user has not set yet into xfconf itself: xfwm4 each of its own
defaults and each keyboard shortcut, xfsettingsd each command shortcut, one call to the settings daemon at a
time, each heard by every other listener. Under emulation that keeps the screen unmanaged for a minute and
more, so the user's files start as Xfce would have left them: the packages' own defaults, read from the
guest's files, with the few settings the tablet needs on top.
"""
import copy
import re
import xml.etree.ElementTree as ET
from pathlib import Path
from xml.sax.saxutils import quoteattr

XFWM4_DEFAULTS = Path("/usr/share/xfwm4/defaults")
SYSTEM_SHORTCUTS = Path("/etc/xdg/xfce4/xfconf/xfce-perchannel-xml/xfce4-keyboard-shortcuts.xml")
# xfwm4's settings that read "true" or "false" but are strings, as they may also read "frame".
TEXT_SETTINGS = {"title_shadow_active", "title_shadow_inactive"}
# xfwm4 does not composite, as on a tablet without a GPU: under emulation each of its software-composited
# frames costs the cores the scenarios need. The panel's window stays ARGB; it shapes itself by its opaque
# pixels then.
XFWM4_OWN = {"use_compositing": "false"}

# The settings daemon asks what to do with a monitor that comes: the user has told it once to do nothing,
# so that the scenarios switch the monitor on themselves. The session is the window manager and the settings
# daemon (the image has no panel, desktop or file manager for it to try).
FIXED = {
    "displays": '<property name="Notify" type="int" value="0"/>',
    "xfce4-session": """<property name="sessions" type="empty">
    <property name="Failsafe" type="empty">
      <property name="IsFailsafe" type="bool" value="true"/>
      <property name="Count" type="int" value="2"/>
      <property name="Client0_Command" type="array"><value type="string" value="xfwm4"/></property>
      <property name="Client0_Priority" type="int" value="15"/>
      <property name="Client0_PerScreen" type="bool" value="false"/>
      <property name="Client1_Command" type="array"><value type="string" value="xfsettingsd"/></property>
      <property name="Client1_Priority" type="int" value="20"/>
      <property name="Client1_PerScreen" type="bool" value="false"/>
    </property>
  </property>""",
}


def setting(name, value):
    """One setting, typed as xfwm4 reads it."""
    if value in ("true", "false") and name not in TEXT_SETTINGS:
        kind = "bool"
    else:
        kind = "int" if re.fullmatch(r"-?\d+", value) else "string"
    return f"<property name={quoteattr(name)} type=\"{kind}\" value={quoteattr(value)}/>"


def text_array(name, values):
    items = "".join(f'<value type="string" value={quoteattr(value)}/>' for value in values)
    return f'<property name={quoteattr(name)} type="array">{items}</property>'


def xfwm4():
    """xfwm4's whole channel: its package's defaults under the tablet's own settings."""
    values = dict(line.split("=", 1) for line in XFWM4_DEFAULTS.read_text().splitlines() if "=" in line)
    values.update(XFWM4_OWN)
    workspaces = [f"Workspace {n}" for n in range(1, int(values["workspace_count"]) + 1)]
    return ('<property name="general" type="empty">\n'
            + "".join(f"    {setting(name, value)}\n" for name, value in values.items())
            + f"    {text_array('workspace_names', workspaces)}\n  </property>")


def keyboard_shortcuts():
    """The shortcuts as the user's own: each group's system defaults copied, marked as the user's choice,
    and each group's provider registered."""
    groups, names = [], []
    for group in ET.parse(SYSTEM_SHORTCUTS).getroot().findall("property"):
        custom = copy.deepcopy(group.find("property[@name='default']"))
        custom.set("name", "custom")
        ET.SubElement(custom, "property", name="override", type="bool", value="true")
        mine = ET.Element("property", name=group.get("name"), type="empty")
        mine.append(custom)
        groups.append(ET.tostring(mine, encoding="unicode"))
        names.append(group.get("name"))
    return "\n  ".join([text_array("providers", names), *groups])


def channels():
    """Each channel's properties, as the text inside its <channel> element."""
    return dict(FIXED, xfwm4=xfwm4(), **{"xfce4-keyboard-shortcuts": keyboard_shortcuts()})
