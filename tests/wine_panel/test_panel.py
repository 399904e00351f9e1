"""The panel as a person sees and uses it under Wine: the shared panel scenarios on the Wine driver."""
import unittest

from harness import PanelTestBase
from panel_scenarios import MissingPictureScenario, NoLibraryScenario, PanelScenarios, RealLibraryScenario


class RecordedPanelTest(PanelScenarios, PanelTestBase):
    """With a recording stand-in for Quillet.dll."""


class RealQuilletPanelTest(RealLibraryScenario, PanelTestBase):
    """Wine has no rotation sensor and no switch, and accepts a turn that its virtual display does not make."""


class NoQuilletPanelTest(NoLibraryScenario, PanelTestBase):
    pass


class MissingPictureTest(MissingPictureScenario, PanelTestBase):
    pass


if __name__ == "__main__":
    unittest.main()
