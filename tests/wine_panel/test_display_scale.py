"""The panel at 125, 150 and 200 % display scale: Wine reports the LogPixels of the
prefix's desktop settings as every dots-per-inch query's answer."""
import unittest

from harness import PanelTestBase
from panel_scenarios import ScaledPanelScenarios


class Panel120DpiTest(ScaledPanelScenarios, PanelTestBase):
    dpi, scale = 120, 125


class Panel144DpiTest(ScaledPanelScenarios, PanelTestBase):
    dpi, scale = 144, 150


class Panel192DpiTest(ScaledPanelScenarios, PanelTestBase):
    dpi, scale = 192, 200


if __name__ == "__main__":
    unittest.main()
