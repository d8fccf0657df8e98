#pragma once
// A private test network: a "switch" namespace with a bridge, and host namespaces joined to it
// by veth pairs. Every link is created inside these namespaces (never in the caller's), and
// every namespace is removed by the destructor, also when a test fails. Namespaces a killed
// run left behind are removed by RemoveStale. Needs root.
//
//     CTestNetwork network("three");
//     network.Create();
//     network.AddHost("client", {"10.77.0.1/16"});
//     RunProgram(network.Namespace("client"), {...}, 20s);

#include <string>
#include <vector>

namespace lanterna::test {

class CTestNetwork {
  public:
    // Why namespaces cannot be made here; empty when they can.
    static std::string Unavailable();
    // Removes namespaces of earlier runs whose process no longer exists.
    static void RemoveStale();

    // `tag` (a few letters) tells this network's namespaces apart from other networks of the
    // same process.
    explicit CTestNetwork(std::string tag);
    ~CTestNetwork();
    CTestNetwork(const CTestNetwork&) = delete;
    CTestNetwork& operator=(const CTestNetwork&) = delete;

    // The switch namespace and its bridge. False (with Error()) on failure.
    bool Create();
    // A host namespace with loopback up, one interface "eth0" on the bridge carrying
    // `addresses` (CIDR form, e.g. "10.77.1.1/16") and a default route through it, so that
    // broadcasts to 255.255.255.255 leave through the bridge. `bridge` is "br0" or one made by
    // AddBridge.
    bool AddHost(const std::string& host, const std::vector<std::string>& addresses,
                 const std::string& bridge = "br0");

    // Another bridge in the switch namespace: a second network segment, which no broadcast of
    // the first reaches.
    bool AddBridge(const std::string& bridge);
    // Joins `host` to `bridge` too, through an interface `device` carrying `address`, and lets
    // it forward between its interfaces: a router between two segments.
    bool AddRouterLink(const std::string& host, const std::string& bridge,
                       const std::string& device, const std::string& address);
    // A route in `host` to `destination` (CIDR) through the router at `gateway`.
    bool AddRoute(const std::string& host, const std::string& destination,
                  const std::string& gateway);

    // A permanent neighbour entry in `host` for `address` at hardware address `mac`: with no
    // host behind that address, packets to it leave and vanish (no answer, no refusal).
    bool AddNeighbour(const std::string& host, const std::string& address, const std::string& mac);

    std::string Namespace(const std::string& host) const;
    const std::string& Error() const { return error; }

    // Removes every namespace made so far (the destructor does this too).
    void Remove();

  private:
    bool Ip(const std::vector<std::string>& args);
    bool IpBatch(const std::string& netns, const std::string& commands);

    std::string prefix;
    std::vector<std::string> namespaces;
    int hosts = 0;
    std::string error;
};

}  // namespace lanterna::test
