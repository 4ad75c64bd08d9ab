import QtQuick 2.5
import QtTest 1.1
import "qrc:/JOLV/ZUV-VirtualPlatformCore/qml/ZUV/Cockpit/ControlPanelView/ControlPanelViewComponents"
import "qrc:/JOLV/ZUV-VirtualPlatformCore/qml/ZUV/Theme"

// The steering-column stalk: click areas added at run time, mirroring, the lever's motion and the
// return to the centre, driven by the mouse.
Item {
    id: root
    width: 600
    height: 600

    Component {
        id: stalkComponent
        ControlStalk {
            width: 400
            height: 400
            // Each reported position with the time it was reported.
            property var positions: []
            property var reportTimes: []
            controlStalkConsoleImageUrl: Theme.themeImagePath + "control_stalk_console.svg"
            controlStalkGhostlinesImageUrl: Theme.themeImagePath + "control_stalk_moveable_lever_ghostlines.svg"
            controlStalkLeverImageUrl: Theme.themeImagePath + "control_stalk_moveable_lever.svg"
            controlStalkIconImageUrl: Theme.themeImagePath + "control_stalk_moveable_lever_icon_signal.svg"
            onLeverPositionChanged: {
                positions.push(position)
                reportTimes.push(Date.now())
            }
            Component.onCompleted: controlStalkAddPositionAreas()
        }
    }

    TestCase {
        name: "CockpitControlStalk"
        when: windowShown

        function areaOf(stalk, position) {
            return stalk.clickableAreaList.filter(function(area) { return area.itemNumber === position })[0]
        }

        // The row of the stalk's position table for a position, unmirrored.
        function rowOf(stalk, position) {
            return stalk.controlStalkPositions.filter(function(row) { return row.itemNumber === position })[0]
        }

        // Clicks the middle of a position's area, as a user would.
        function clickPosition(stalk, position) {
            mouseClick(areaOf(stalk, position))
        }

        function leverRotation(stalk) {
            return findChild(stalk, "controlStalkLever").transform[0]
        }

        function returnTimer(stalk) {
            return findChild(stalk, "controlStalkReturnTimer")
        }

        // Waits until the lever has come to rest at angle.
        function verifyLeverAt(stalk, angle) {
            tryCompare(leverRotation(stalk), "angle", angle, 1000)
            tryCompare(findChild(stalk, "controlStalkLeverAnimation"), "running", false, 1000)
            compare(leverRotation(stalk).angle, angle)
        }

        function test_click_data() {
            var rows = []
            var positions = [2, 1, 0, -1, -2]
            for (var m = 0; m < 2; ++m) {
                for (var i = 0; i < positions.length; ++i) {
                    var mirrored = m === 1
                    // Unmirrored, position 2 turns the lever up by -36 degrees; mirrored, by +36.
                    rows.push({ tag: (mirrored ? "mirrored " : "") + positions[i], mirrored: mirrored,
                                position: positions[i], angle: -18 * positions[i] * (mirrored ? -1 : 1) })
                }
            }
            return rows
        }

        function test_click(data) {
            var stalk = createTemporaryObject(stalkComponent, root, { mirrored: data.mirrored })
            compare(stalk.clickableAreaList.length, stalk.controlStalkPositions.length)
            var area = areaOf(stalk, data.position)
            // Mirrored areas lie at 1 - xRelative and are tilted the other way, as the lever is.
            fuzzyCompare(area.x + area.width / 2, stalk.width * (data.mirrored ? 1 - area.xRelative : area.xRelative), 0.01)
            compare(area.rotation, data.angle)
            var rotation = leverRotation(stalk)
            fuzzyCompare(rotation.origin.x, stalk.width * (data.mirrored ? 1 - 0.242 : 0.242), 0.01)
            fuzzyCompare(rotation.origin.y, stalk.height * (1 - 0.448), 0.01)

            clickPosition(stalk, data.position)
            compare(stalk.positions, [data.position])
            verifyLeverAt(stalk, data.angle)
        }

        // After a resize the areas keep their place and size in fractions of the stalk.
        function test_areasFollowTheSize() {
            var stalk = createTemporaryObject(stalkComponent, root, { mirrored: true })
            stalk.width = 200
            stalk.height = 300
            var row = rowOf(stalk, 2)
            var area = areaOf(stalk, 2)
            fuzzyCompare(area.width, row.widthRelative * 200, 0.01)
            fuzzyCompare(area.height, row.heightRelative * 300, 0.01)
            fuzzyCompare(area.x + area.width / 2, (1 - row.xRelative) * 200, 0.01)
            fuzzyCompare(area.y + area.height / 2, row.yRelative * 300, 0.01)
            clickPosition(stalk, 2)
            compare(stalk.positions, [2])
        }

        function test_autoReturnIsPostponedByAnotherClick_data() {
            return [ { tag: "1", position: 1 }, { tag: "-1", position: -1 } ]
        }

        // The second click on the position, once the lever has turned there, puts the return off
        // until 1000 ms after it.
        function test_autoReturnIsPostponedByAnotherClick(data) {
            var stalk = createTemporaryObject(stalkComponent, root, { mirrored: true, autoReturn: true })
            var interval = 1000
            clickPosition(stalk, data.position)
            verifyLeverAt(stalk, 18 * data.position)
            clickPosition(stalk, data.position)
            compare(stalk.positions, [data.position, data.position])
            tryCompare(stalk.positions, "length", 3, 2 * interval)
            compare(stalk.positions, [data.position, data.position, 0])
            var times = stalk.reportTimes
            verify(times[2] - times[1] >= 0.9 * interval, "returned " + (times[2] - times[1]) + " ms after the second click")
            verifyLeverAt(stalk, 0)
        }

        // Choosing another position stops a pending return: the choice stays.
        function test_otherPositionCancelsThePendingReturn_data() {
            return [
                { tag: "2", position: 2 },
                { tag: "-2", position: -2 },
                { tag: "0", position: 0 }
            ]
        }

        function test_otherPositionCancelsThePendingReturn(data) {
            var stalk = createTemporaryObject(stalkComponent, root, { mirrored: true, autoReturn: true })
            clickPosition(stalk, 1)
            verify(returnTimer(stalk).running)
            clickPosition(stalk, data.position)
            verify(!returnTimer(stalk).running)
            compare(stalk.positions, [1, data.position])
            verifyLeverAt(stalk, 18 * data.position)
        }

        // Two clicks within the lever's turn leave it at the second position.
        function test_twoQuickClicksLeaveTheLeverAtTheSecond() {
            var stalk = createTemporaryObject(stalkComponent, root)
            clickPosition(stalk, 2)
            verify(findChild(stalk, "controlStalkLeverAnimation").running)
            clickPosition(stalk, -2)
            compare(stalk.positions, [2, -2])
            verifyLeverAt(stalk, 36)
        }
    }
}
