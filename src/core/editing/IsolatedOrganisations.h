#pragma once

namespace qv {

class EditModel;
class Prompter;

// "Clea&r isolated org": deletes every organisation but the default one that
// no person names, without asking, and tells how many went. Returns that number.
int clearIsolatedOrganisations(EditModel &editModel, Prompter &prompter);

} // namespace qv
